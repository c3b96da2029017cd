#include "masterdata/ui/record_list_window.h"

#include "db/db_error.h"
#include "masterdata/ui/record_list_model.h"
#include "masterdata/ui/record_window.h"
#include "session/session.h"
#include "ui/button_bar.h"
#include "ui/grid_clipboard.h"
#include "ui/list_read_notice.h"
#include "ui/look.h"
#include "ui/message_box.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

RecordListWindow::RecordListWindow(Session& session, const Setup& setup, RecordListModel* model, QWidget* parent)
    : QDialog(parent), m_session(session), m_setup(setup), m_model(model)
{
    setObjectName(QLatin1String(setup.objectName));
    setWindowTitle(setup.title);

    m_model->setParent(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    const QFontMetrics headerFont = m_grid->horizontalHeader()->fontMetrics();
    for (int column = 0; column < m_model->columnCount(); ++column) {
        const RecordListModel::Look& look = m_model->look(column);
        m_grid->setColumnWidth(column, Look::ColumnWidth(headerFont, look.width, look.caption));
        m_grid->setColumnHidden(column, look.hidden);
    }
    AddCopyTableAction(m_grid);
    m_notice = new ListReadNotice(m_grid, this);

    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(buildToolBar());
    pageLayout->addWidget(m_notice);
    pageLayout->addWidget(m_grid, 1);
    auto* pages = new QTabWidget(this);
    pages->addTab(page, setup.pageCaption);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages, 1);

    connect(m_grid, &QTableView::doubleClicked, this, &RecordListWindow::editChosen);
    connect(m_filter, &QComboBox::currentIndexChanged, this, &RecordListWindow::refresh);
    connect(m_onlyActive, &QCheckBox::toggled, this, &RecordListWindow::refresh);
}

RecordListWindow::~RecordListWindow()
{
    SaveWindowPlacement(this, m_session.settingsPath());
}

QWidget* RecordListWindow::buildToolBar()
{
    auto* bar = new QWidget(this);
    auto* add = NewToolButton(bar, m_setup.addName, m_setup.addCaption);
    auto* change = NewToolButton(bar, "Promijeni", QStringLiteral("Promijeni"));
    auto* remove = NewToolButton(bar, "Obrisi", QStringLiteral("Obriši"));
    m_filter = new QComboBox(bar);
    m_filter->setObjectName(QStringLiteral("Uvjet"));
    m_filter->addItems(m_setup.filterNames);
    m_filter->setCurrentIndex(m_setup.filter);
    m_onlyActive = new QCheckBox(m_setup.onlyActiveCaption, bar);
    m_onlyActive->setObjectName(QLatin1String(m_setup.onlyActiveName));
    connect(add, &QToolButton::clicked, this, [this] { editRecord(-1); });
    connect(change, &QToolButton::clicked, this, &RecordListWindow::editChosen);
    connect(remove, &QToolButton::clicked, this, &RecordListWindow::deleteChosen);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget : std::initializer_list<QWidget*>{add, change, remove, m_filter, m_onlyActive})
        row->addWidget(widget);
    row->addStretch();
    return bar;
}

void RecordListWindow::addBelowGrid(QWidget* widget)
{
    m_grid->parentWidget()->layout()->addWidget(widget);
}

void RecordListWindow::addBelowPage(QWidget* widget)
{
    layout()->addWidget(widget);
}

void RecordListWindow::restorePlacement()
{
    resize(m_setup.size);
    RestoreWindowPlacement(this, m_session.settingsPath());
}

void RecordListWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        refresh();
}

int RecordListWindow::currentRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

int RecordListWindow::currentFilter() const
{
    return m_filter->currentIndex();
}

void RecordListWindow::refresh()
{
    const int position = std::max(currentRow(), 0);
    try {
        Transaction read = m_session.read();
        readRows(&read, m_filter->currentIndex(), m_onlyActive->isChecked());
        m_notice->showRead();
    } catch (const DbError& error) {
        readRows(nullptr, m_filter->currentIndex(), m_onlyActive->isChecked());
        m_notice->showNotRead(error.text());
        listRead();
        ShowError(this, error.text());
        return;
    }
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::min(position, m_model->rowCount() - 1));
    listRead();
}

void RecordListWindow::editRecord(int id)
{
    std::unique_ptr<RecordWindow> record = newRecordWindow();
    record->recordId = id;
    if (record->exec() == QDialog::Accepted)
        refresh();
}

void RecordListWindow::editChosen()
{
    const int row = currentRow();
    if (row >= 0)
        editRecord(m_model->idAt(row));
}

void RecordListWindow::deleteChosen()
{
    const int row = currentRow();
    if (row < 0 || !AskYesNo(this, m_setup.deleteQuestion))
        return;
    if (deleteRecord(m_model->idAt(row)))
        refresh();
}
