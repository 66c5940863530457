#include "codetables/CodeTablesWindow.h"

#include "codetables/FilteredChoiceList.h"
#include "codetables/TableRowsModel.h"
#include "lookup/CopyActions.h"
#include "lookup/FormLayout.h"
#include "lookup/ListKeys.h"
#include "lookup/SharedQuery.h"
#include "platform/AnnouncingLabel.h"
#include "platform/AppError.h"
#include "platform/LeaveKeys.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QCloseEvent>
#include <QTableView>

namespace codetables {

const QString CodeTablesWindow::NotInFileNotice = QStringLiteral(
    "The code tables are not in this pcs.mdb: it was made before they were added, or by another program. "
    "Build it again from the CMS release files with vorimel-pcsdb (vorimel-pcsdb --help says how) to have them. "
    "The search window works without them.");

namespace {

constexpr int RetryMs = 50;
const QChar NotChosen = QLatin1Char('-');

QLabel *selectableText(QWidget *parent, const QString &name)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleName(name);
    return label;
}

} // namespace

CodeTablesWindow::CodeTablesWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmCodeTables"));
    setWindowTitle(QStringLiteral("Code Tables"));
    buildControls();
    connectHandlers();
    // Read once the window exists in its frame: rows are read with events running between them.
    QMetaObject::invokeMethod(this, &CodeTablesWindow::load, Qt::QueuedConnection);
}

CodeTablesWindow::~CodeTablesWindow() = default;

void CodeTablesWindow::buildControls()
{
    notice_ = selectableText(this, QStringLiteral("Notice"));
    notice_->setText(QStringLiteral("Reading the code tables..."));

    choices_ = {new FilteredChoiceList(QStringLiteral("&Section"), this),
                new FilteredChoiceList(QStringLiteral("&Body system"), this),
                new FilteredChoiceList(QStringLiteral("Root &operation"), this)};
    for (std::size_t axis = 0; axis < axes_.size(); ++axis)
        axes_[axis] = new FilteredChoiceList(QStringLiteral("Character %1").arg(axis + 4), this);

    auto *definitionCaption = new QLabel(QStringLiteral("Definition:"), this);
    definition_ = selectableText(this, QStringLiteral("Definition of the root operation"));
    heading_ = selectableText(this, QStringLiteral("Table"));
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);

    rowsModel_ = new TableRowsModel(this);
    rowsView_ = new QTableView(this);
    rowsView_->setModel(rowsModel_);
    rowsView_->setAccessibleName(QStringLiteral("Rows of the table"));
    rowsView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rowsView_->setSelectionMode(QAbstractItemView::SingleSelection);
    rowsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rowsView_->setWordWrap(true);
    rowsView_->setTabKeyNavigation(false);
    rowsView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    rowsView_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto *codeCaption = new QLabel(QStringLiteral("&Code:"), this);
    codeField_ = new QLineEdit(this);
    codeField_->setReadOnly(true);
    codeField_->setAccessibleName(QStringLiteral("Code"));
    QFont fixed = codeField_->font();
    fixed.setFamily(QStringLiteral("monospace"));
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.5);
    codeField_->setFont(fixed);
    codeField_->setMaximumWidth(QFontMetrics(fixed).horizontalAdvance(QStringLiteral("MMMMMMMMMM")));
    codeCaption->setBuddy(codeField_);
    title_ = selectableText(this, QStringLiteral("Title"));
    icd9_ = selectableText(this, QStringLiteral("ICD-9-CM codes"));
    showDetails_ = new QPushButton(QStringLiteral("Show &Details"), this);
    showDetails_->setAccessibleName(QStringLiteral("Show Details"));
    showDetails_->setAutoDefault(true); // Enter presses it when it has the keyboard, as Space does
    showDetails_->setEnabled(false);
    // Hidden until a code is complete, so that it appears to the reader then.
    completedCode_ = new platform::AnnouncingLabel(this);
    completedCode_->setFixedSize(0, 0);
    completedCode_->hide();

    auto *layout = new QGridLayout(this);
    layout->addWidget(notice_, 0, 0, 1, 4);
    for (int i = 0; i < 3; ++i)
        layout->addWidget(choices_[std::size_t(i)], 1, i == 2 ? 2 : i, 1, i == 2 ? 2 : 1);
    auto *definitionLine = new QHBoxLayout;
    definitionLine->addWidget(definitionCaption, 0, Qt::AlignTop);
    definitionLine->addWidget(definition_, 1);
    layout->addLayout(definitionLine, 2, 0, 1, 4);
    layout->addWidget(heading_, 3, 0, 1, 4);
    layout->addWidget(rowsView_, 4, 0, 1, 4);
    for (int axis = 0; axis < 4; ++axis)
        layout->addWidget(axes_[std::size_t(axis)], 5, axis);
    auto *codeLine = new QHBoxLayout;
    codeLine->addWidget(codeCaption);
    codeLine->addWidget(codeField_);
    codeLine->addWidget(title_, 1);
    codeLine->addWidget(showDetails_);
    layout->addLayout(codeLine, 6, 0, 1, 4);
    layout->addWidget(icd9_, 7, 0, 1, 4);
    layout->setRowStretch(1, 2);
    layout->setRowStretch(4, 3);
    layout->setRowStretch(5, 3);
    for (int column = 0; column < 4; ++column)
        layout->setColumnStretch(column, 1);

    QList<QWidget *> order;
    for (FilteredChoiceList *list : choices_)
        order << list->filter() << list->list();
    order << rowsView_;
    for (FilteredChoiceList *list : axes_)
        order << list->filter() << list->list();
    order << codeField_ << showDetails_ << title_ << icd9_ << definition_;
    lookup::form::chainTabOrder(order);
}

void CodeTablesWindow::connectHandlers()
{
    connect(sectionList(), &FilteredChoiceList::chosen, this, &CodeTablesWindow::sectionChosen);
    connect(bodySystemList(), &FilteredChoiceList::chosen, this, &CodeTablesWindow::bodySystemChosen);
    connect(operationList(), &FilteredChoiceList::chosen, this, &CodeTablesWindow::operationChosen);
    connect(sectionList(), &FilteredChoiceList::accepted, this, [this] { bodySystemList()->filter()->setFocus(); });
    connect(bodySystemList(), &FilteredChoiceList::accepted, this, [this] { operationList()->filter()->setFocus(); });
    connect(operationList(), &FilteredChoiceList::accepted, this, [this] { rowsView_->setFocus(); });
    connect(rowsView_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { rowChosen(current.isValid() ? current.row() : -1); });
    rowsView_->installEventFilter(this);
    for (FilteredChoiceList *axis : axes_) {
        connect(axis, &FilteredChoiceList::chosen, this, &CodeTablesWindow::codeChanged);
        connect(axis, &FilteredChoiceList::accepted, this, &CodeTablesWindow::focusNextAxis);
        lookup::addCopyAction(axis->list(), QStringLiteral("Copy code"), [this] { return codeField_->text(); }, true);
    }
    lookup::addCopyAction(rowsView_, QStringLiteral("Copy code"), [this] { return codeField_->text(); }, true);
    lookup::addCopyAction(rowsView_, QStringLiteral("Copy definition"), [this] { return definition_->text(); });
    connect(showDetails_, &QPushButton::clicked, this, &CodeTablesWindow::requestDetails);
    codeField_->installEventFilter(this);

    platform::leaveOnEscapeOrCtrlF4(this, [this] { emit closeRequested(); });

    factsTimer_.setSingleShot(true);
    connect(&factsTimer_, &QTimer::timeout, this, &CodeTablesWindow::readFacts);
}

void CodeTablesWindow::load()
{
    if (loaded_)
        return;
    if (lookup::SharedQuery::isRunning()) {
        QTimer::singleShot(RetryMs, this, &CodeTablesWindow::load);
        return;
    }
    const QPointer<QObject> alive(this);
    CodeTableSet tables;
    ReadOutcome outcome = ReadOutcome::NotInFile;
    try {
        outcome = readCodeTables(alive, tables);
    } catch (const platform::AppError &error) {
        notice_->setText(QStringLiteral("The code tables could not be read.\n\nError %1: %2")
                             .arg(error.number())
                             .arg(error.description()));
    }
    if (outcome == ReadOutcome::OwnerGone)
        return;
    tables_ = std::move(tables);
    loaded_ = true;
    if (outcome == ReadOutcome::NotInFile && notice_->text().startsWith(QStringLiteral("Reading")))
        notice_->setText(NotInFileNotice);
    const bool usable = outcome == ReadOutcome::Read;
    notice_->setVisible(!usable);
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    for (FilteredChoiceList *list : choices_)
        list->setEnabled(usable);
    // A reader then reads the notice first.
    if (!usable && hadFocus)
        notice_->setFocus(Qt::OtherFocusReason);
    sectionList()->setChoices(tables_.sections());
    for (auto &action : std::exchange(pending_, {}))
        action();
    emit loaded();
}

void CodeTablesWindow::whenLoaded(std::function<void()> action)
{
    if (loaded_)
        action();
    else
        pending_.push_back(std::move(action));
}

void CodeTablesWindow::focusFirstChoice()
{
    if (sectionList()->isEnabled())
        sectionList()->filter()->setFocus(Qt::OtherFocusReason);
    else
        notice_->setFocus(Qt::OtherFocusReason);
}

void CodeTablesWindow::sectionChosen(QChar section)
{
    bodySystemList()->setChoices(section.isNull() ? QList<Choice>() : tables_.bodySystems(section));
    bodySystemChosen(bodySystemList()->chosenKey());
}

void CodeTablesWindow::bodySystemChosen(QChar bodySystem)
{
    const QChar section = sectionList()->chosenKey();
    operationList()->setChoices(bodySystem.isNull() ? QList<Choice>() : tables_.operations(section, bodySystem));
    operationChosen(operationList()->chosenKey());
}

void CodeTablesWindow::operationChosen(QChar operation)
{
    const QChar parts[] = {sectionList()->chosenKey(), bodySystemList()->chosenKey(), operation};
    const CodeTable *table = operation.isNull() ? nullptr : tables_.table(QString(parts, 3));
    if (table == table_)
        return;
    table_ = table;
    definition_->setText(table ? (table->definition.isEmpty() ? QStringLiteral("(none given)") : table->definition)
                               : QString());
    heading_->setText(table ? QStringLiteral("Table %1: %2, %3, %4")
                                  .arg(table->code, table->section, table->bodySystem, table->operation)
                            : QString());
    rowsModel_->setTable(table);
    rowsView_->resizeRowsToContents();
    if (table && !table->rows.isEmpty())
        rowsView_->setCurrentIndex(rowsModel_->index(0, 0));
    else
        rowChosen(-1);
}

void CodeTablesWindow::rowChosen(int row)
{
    const TableRow *chosen = table_ && row >= 0 && row < table_->rows.size() ? &table_->rows[row] : nullptr;
    for (std::size_t axis = 0; axis < axes_.size(); ++axis) {
        const QString title = chosen ? chosen->axes[axis].title : QString();
        axes_[axis]->setCaption(QStringLiteral("%1 (character %2)")
                                    .arg(title.isEmpty() ? QStringLiteral("Value") : title)
                                    .arg(axis + 4));
        axes_[axis]->setChoices(chosen ? chosen->axes[axis].values : QList<Choice>());
    }
    codeChanged();
}

QString CodeTablesWindow::formedCode() const
{
    if (!table_)
        return QString();
    QString code = table_->code;
    for (const FilteredChoiceList *axis : axes_)
        code += axis->chosenKey().isNull() ? NotChosen : axis->chosenKey();
    return code;
}

void CodeTablesWindow::codeChanged()
{
    const QString code = formedCode();
    codeField_->setText(code);
    const bool complete = !code.isEmpty() && !code.contains(NotChosen);
    if (complete) {
        factsTimer_.start(0);
        return;
    }
    factsTimer_.stop();
    completedCode_->hide();
    factsCode_.clear();
    facts_ = CodeFacts();
    title_->setText(code.isEmpty() ? QString() : QStringLiteral("Choose one value in each of the four lists."));
    icd9_->clear();
    showDetails_->setEnabled(false);
}

void CodeTablesWindow::readFacts()
{
    const QString code = formedCode();
    if (code.isEmpty() || code.contains(NotChosen) || code == factsCode_)
        return;
    if (lookup::SharedQuery::isRunning()) {
        factsTimer_.start(RetryMs);
        return;
    }
    const QPointer<QObject> alive(this);
    try {
        const std::optional<CodeFacts> facts = readCodeFacts(code, alive);
        if (!facts)
            return;
        facts_ = *facts;
        factsCode_ = code;
    } catch (const platform::AppError &error) {
        facts_ = CodeFacts();
        factsCode_.clear();
        title_->setText(QStringLiteral("Error %1: %2").arg(error.number()).arg(error.description()));
        icd9_->clear();
        showDetails_->setEnabled(false);
        return;
    }
    // The choice may have moved on while rows were read.
    if (formedCode() != code) {
        factsTimer_.start(0);
        return;
    }
    showFacts();
}

void CodeTablesWindow::showFacts()
{
    if (!facts_.found) {
        title_->setText(QStringLiteral("This pcs.mdb has no procedure with code %1.").arg(factsCode_));
        icd9_->clear();
        showDetails_->setEnabled(false);
        return;
    }
    title_->setText(facts_.title);
    icd9_->setText(QStringLiteral("ICD-9-CM: ") + facts_.icd9.join(QStringLiteral("; ")));
    showDetails_->setEnabled(true);
    // Spoken once, after what the keyboard is on, which keeps the focus.
    completedCode_->announce(factsCode_ + QStringLiteral(", ") + facts_.title);
}

void CodeTablesWindow::requestDetails()
{
    readFacts();
    if (facts_.found && factsCode_ == formedCode())
        emit detailsRequested(facts_.id);
}

void CodeTablesWindow::focusNextAxis()
{
    for (FilteredChoiceList *axis : axes_) {
        if (axis->chosenKey().isNull()) {
            axis->filter()->setFocus();
            return;
        }
    }
    requestDetails();
}

void CodeTablesWindow::hideEvent(QHideEvent *event)
{
    // Shown again with the window, it would be spoken again.
    completedCode_->hide();
    QWidget::hideEvent(event);
}

void CodeTablesWindow::closeEvent(QCloseEvent *event)
{
    // Closing keeps the choices for the next Ctrl+T: the frame hides the window.
    event->ignore();
    emit closeRequested();
}

bool CodeTablesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && lookup::isEnterKey(static_cast<QKeyEvent *>(event)->key())) {
        if (watched == rowsView_) {
            focusNextAxis();
            return true;
        }
        if (watched == codeField_) {
            requestDetails();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CodeTablesWindow::showCode(const QString &code)
{
    whenLoaded([this, code = code.trimmed().toUpper()] {
        if (code.size() != 7 || !tables_.table(code.left(3)))
            return;
        const CodeTable *table = tables_.table(code.left(3));
        const qsizetype row = table->rowHolding(code);
        if (row < 0)
            return;
        sectionList()->choose(code[0]);
        bodySystemList()->choose(code[1]);
        operationList()->choose(code[2]);
        rowsView_->setCurrentIndex(rowsModel_->index(int(row), 0));
        for (std::size_t axis = 0; axis < axes_.size(); ++axis)
            axes_[axis]->choose(code[qsizetype(axis) + 3]);
        rowsView_->setFocus(Qt::OtherFocusReason);
    });
}

void CodeTablesWindow::showProcedure(qint32 id)
{
    whenLoaded([this, id] {
        if (lookup::SharedQuery::isRunning())
            return;
        try {
            if (const std::optional<QString> code = readCodeOfProcedure(id, QPointer<QObject>(this)))
                showCode(*code);
        } catch (const platform::AppError &) {
            // The table stays as it was; the search window reports database faults.
        }
    });
}

} // namespace codetables
