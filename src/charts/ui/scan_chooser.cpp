#include "charts/ui/scan_chooser.h"

#include "ui/button_bar.h"
#include "ui/look.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

ScanChooser::ScanChooser(const QString& startFolder, QWidget* parent)
    : QDialog(parent), m_startFolder(startFolder)
{
    setObjectName(QStringLiteral("izborSken"));
    setWindowTitle(QStringLiteral("Odredite slikovni zapis taholistića (sken)"));

    auto* banner = new QLabel(QStringLiteral("Digitalizacija taholistića"), this);
    banner->setStyleSheet(QStringLiteral("QLabel { background: %1; color: white; font: bold 16px; padding: 8px; }")
                              .arg(Look::kNavy.name()));
    auto* panel = new QWidget(this);
    panel->setAutoFillBackground(true);
    Look::Paint(panel, QPalette::Window, Qt::white);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->addWidget(new QLabel(QStringLiteral("Odredite datoteku koja sadrži skenirani(e) taholistić(e)"), panel));
    auto* fieldRow = new QHBoxLayout;
    m_path = new QLineEdit(panel);
    m_path->setObjectName(QStringLiteral("Sken"));
    m_path->setMinimumWidth(360);
    auto* browse = new QToolButton(panel);
    browse->setObjectName(QStringLiteral("BitBtn5"));
    browse->setText(QStringLiteral("..."));
    browse->setToolTip(QStringLiteral("Odredite sliku/sken"));
    auto* caption = new QLabel(QStringLiteral("Slika:"), panel);
    caption->setBuddy(m_path);
    fieldRow->addWidget(caption);
    fieldRow->addWidget(m_path, 1);
    fieldRow->addWidget(browse);
    panelLayout->addLayout(fieldRow);
    panelLayout->addStretch(1);

    auto* bar = new ButtonBar(this);
    QPushButton* cancel = bar->addButton("BitBtn2", QStringLiteral("Otkaži"), ButtonBar::Side::Left);
    cancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    QPushButton* analyse = bar->addButton("BitBtn1", QStringLiteral("Analiziraj"), ButtonBar::Side::Right);
    analyse->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    // Enter in the field analyses, as the operator expects after typing or pasting a path.
    analyse->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(banner);
    layout->addWidget(panel, 1);
    layout->addWidget(bar);

    connect(browse, &QToolButton::clicked, this, &ScanChooser::browse);
    connect(analyse, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString ScanChooser::scanPath() const
{
    return m_path->text();
}

QStringList ScanChooser::PictureFilters()
{
    return {QStringLiteral("All (*.jpg;*.jpeg;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)"),
            QStringLiteral("JPEG Image File (*.jpg)"),
            QStringLiteral("JPEG Image File (*.jpeg)"),
            QStringLiteral("Bitmaps (*.bmp)"),
            QStringLiteral("Icons (*.ico)"),
            QStringLiteral("Enhanced Metafiles (*.emf)"),
            QStringLiteral("Metafiles (*.wmf)")};
}

void ScanChooser::browse()
{
    QFileDialog dialog(this, QStringLiteral("Odredite sliku/sken"), m_startFolder);
    dialog.setObjectName(QStringLiteral("OP"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(PictureFilters());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_path->setText(QDir::toNativeSeparators(dialog.selectedFiles().first()));
    m_path->setFocus();
}
