#include "cards/ui/card_import_window.h"

#include "session/session.h"

#include "cards/card_listing.h"
#include "db/db_error.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { kDate, kCard, kExisting, kState, kColumnCount };

const QString kFileFilter =
    QStringLiteral("Datoteke kartice vozača (*.ddd *.DDD *.c1b *.C1B *.esm *.ESM *.tgd *.TGD);;Sve datoteke (*)");

QString StateText(const CardImportDay& day)
{
    switch (day.state) {
    case CardDayState::New:
        return QStringLiteral("novi");
    case CardDayState::Unchanged:
        return QStringLiteral("već uvezen");
    case CardDayState::Conflict:
        return day.replaceable() ? QStringLiteral("sukob - zamijeni?") : QStringLiteral("sukob (dvodnevni unos, ne mijenja se)");
    }
    return QString();
}

} // namespace

CardImportWindow::CardImportWindow(Session& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_fileList(new QListWidget), m_holder(new QLabel), m_records(new QLabel),
      m_signature(new QLabel), m_createMissing(new QCheckBox(QStringLiteral("Upiši nepoznatog vozača i vozila s kartice"))),
      m_days(new QTableWidget(0, kColumnCount)), m_summary(new QPlainTextEdit), m_import(new QPushButton(QStringLiteral("Uvezi")))
{
    setObjectName(QStringLiteral("CardImportWindow"));
    setWindowTitle(QStringLiteral("Uvoz digitalne kartice"));
    resize(980, 600);

    auto* choose = new QPushButton(QStringLiteral("Odaberi datoteke..."));
    choose->setObjectName(QStringLiteral("ChooseFilesButton"));
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_holder->setObjectName(QStringLiteral("HolderLabel"));
    m_records->setObjectName(QStringLiteral("RecordsLabel"));
    m_records->setWordWrap(true);
    m_signature->setObjectName(QStringLiteral("SignatureLabel"));
    m_createMissing->setObjectName(QStringLiteral("CreateMissingBox"));
    m_days->setObjectName(QStringLiteral("DaysTable"));
    m_days->setHorizontalHeaderLabels(
        {QStringLiteral("Datum"), QStringLiteral("Kartica"), QStringLiteral("Postojeći unos"), QStringLiteral("Stanje")});
    m_days->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_days->horizontalHeader()->setStretchLastSection(true);
    m_days->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_days->verticalHeader()->hide();
    m_summary->setObjectName(QStringLiteral("SummaryText"));
    m_summary->setReadOnly(true);
    m_summary->setMaximumHeight(110);
    m_import->setObjectName(QStringLiteral("ImportButton"));
    auto* close = new QPushButton(QStringLiteral("Zatvori"));
    close->setObjectName(QStringLiteral("CloseButton"));

    auto* left = new QVBoxLayout;
    left->addWidget(choose);
    left->addWidget(m_fileList);
    auto* right = new QVBoxLayout;
    right->addWidget(m_holder);
    right->addWidget(m_records);
    right->addWidget(m_createMissing);
    right->addWidget(m_signature);
    right->addWidget(m_days, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_import);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, &CardImportWindow::chooseFiles);
    connect(m_fileList, &QListWidget::currentRowChanged, this, &CardImportWindow::showFile);
    connect(m_import, &QPushButton::clicked, this, &CardImportWindow::importAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    // A conflict's tick is the clerk's choice to replace the stored entries with the card's day.
    connect(m_days, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        const int file = m_fileList->currentRow();
        if (item->column() != kState || file < 0 || !m_files[std::size_t(file)].plan)
            return;
        m_files[std::size_t(file)].plan->days[std::size_t(item->row())].replace = item->checkState() == Qt::Checked;
    });
    showFile(-1);
}

CardImportWindow::CardFile CardImportWindow::readFile(const QString& path) const
{
    CardFile file{path, std::nullopt, QString()};
    try {
        CardDownload download = ReadCardDownload(path);
        SignatureStatus signature = CheckCardSignatures(download, m_session.values().europeanRootKey);
        Transaction read = m_session.read();
        file.plan = PlanCardImport(read, std::move(download), std::move(signature));
    } catch (const CardFileError& error) {
        file.error = error.text();
    } catch (const DbError& error) {
        file.error = QFileInfo(path).fileName() + QStringLiteral(": ") + error.text();
    }
    return file;
}

QString CardImportWindow::fileCaption(const CardFile& file) const
{
    const QString name = QFileInfo(file.path).fileName();
    if (!file.plan)
        return name + QStringLiteral(" - neispravna");
    const CardHolder& holder = file.plan->download.holder;
    return QStringLiteral("%1 - %2 %3").arg(name, holder.surname, holder.firstNames);
}

void CardImportWindow::addFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        m_files.push_back(readFile(path));
        m_fileList->addItem(fileCaption(m_files.back()));
    }
    if (m_fileList->currentRow() < 0 && !m_files.empty())
        m_fileList->setCurrentRow(0);
}

void CardImportWindow::chooseFiles()
{
    const QStringList paths =
        QFileDialog::getOpenFileNames(this, QStringLiteral("Datoteke digitalne kartice"), m_session.values().cardFileFolder, kFileFilter);
    addFiles(paths);
}

void CardImportWindow::showFile(int index)
{
    const QSignalBlocker blocker(m_days);
    m_days->setRowCount(0);
    m_createMissing->setVisible(false);
    if (index < 0 || index >= int(m_files.size())) {
        m_holder->setText(QStringLiteral("Odaberite datoteke preuzete s kartica vozača."));
        m_records->clear();
        m_signature->clear();
        return;
    }
    const CardFile& file = m_files[std::size_t(index)];
    if (!file.plan) {
        m_holder->setText(file.error);
        m_records->clear();
        m_signature->clear();
        return;
    }
    const CardImportPlan& plan = *file.plan;
    m_holder->setText(CardHolderText(plan.download.holder));
    QStringList records;
    records << (plan.driverId ? QStringLiteral("Vozač u evidenciji: %1.").arg(plan.driverName)
                              : QStringLiteral("Vozač nije u evidenciji: %1.").arg(DriverFromHolder(plan.download.holder).name));
    const QStringList vehicles = plan.unknownVehicles();
    if (!vehicles.isEmpty())
        records << QStringLiteral("Vozila nisu u evidenciji: %1.").arg(vehicles.join(QStringLiteral(", ")));
    m_records->setText(records.join(QLatin1Char(' ')));
    m_createMissing->setVisible(!plan.driverId || !vehicles.isEmpty());
    m_signature->setText(QStringLiteral("Potpis: ") + plan.signature.text);

    m_days->setRowCount(int(plan.days.size()));
    for (int row = 0; row < int(plan.days.size()); ++row) {
        const CardImportDay& day = plan.days[std::size_t(row)];
        QStringList existing;
        for (const ExistingDay& e : day.existing)
            existing << e.text();
        m_days->setItem(row, kDate, new QTableWidgetItem(day.day.date.toString(QStringLiteral("dd.MM.yyyy"))));
        m_days->setItem(row, kCard, new QTableWidgetItem(day.cardText()));
        m_days->setItem(row, kExisting, new QTableWidgetItem(existing.join(QLatin1Char('\n'))));
        auto* state = new QTableWidgetItem(StateText(day));
        state->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        if (day.state == CardDayState::Conflict && day.replaceable()) {
            state->setFlags(state->flags() | Qt::ItemIsUserCheckable);
            state->setCheckState(day.replace ? Qt::Checked : Qt::Unchecked);
        }
        m_days->setItem(row, kState, state);
    }
    m_days->resizeRowsToContents();
}

void CardImportWindow::importAll()
{
    QStringList lines;
    for (CardFile& file : m_files) {
        if (!file.plan) {
            lines << file.error;
            continue;
        }
        Transaction write = m_session.write();
        const CardImportResult result =
            RunCardImport(write, *file.plan, m_session.values().night, m_createMissing->isChecked());
        lines << CardImportSummary(*file.plan, result);
        file = readFile(file.path);
    }
    m_summary->setPlainText(lines.join(QLatin1Char('\n')));
    emit m_session.entriesChanged();
    for (int i = 0; i < int(m_files.size()); ++i)
        m_fileList->item(i)->setText(fileCaption(m_files[std::size_t(i)]));
    showFile(m_fileList->currentRow());
}
