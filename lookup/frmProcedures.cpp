#include "lookup/frmProcedures.h"

#include "platform/AccessibleHiding.h"
#include "platform/AccessibleUpdates.h"
#include "platform/AnnouncingLabel.h"
#include "lookup/AdvancedPanel.h"
#include "lookup/CopyActions.h"
#include "lookup/ListKeys.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/FormLayout.h"
#include "lookup/ResultLists.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "lookup/TextRowDelegate.h"
#include "lookup/WaitLook.h"
#include "platform/EventPump.h"
#include "platform/Twips.h"
#include "platform/grid/Grid.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <utility>

namespace lookup {

const QString frmProcedures::NoCriteriaTitle = QStringLiteral("No search criteria found...");
const QString frmProcedures::NoCriteriaPrompt =
    QStringLiteral("No Search Criteria where entered. Proceeding with the search may take a long time.\r\n"
                   "Are you sure you want to continue?");
const QString frmProcedures::DuplicatesMessage =
    QStringLiteral("More than ONE record was found for the item you selected. Please double click to select the "
                   "item you need from the list below.");

namespace {

// What the style adds around a row's text in a list, with room to spare.
constexpr int RowTextAllowance = 16;
constexpr int ResultRowsWanted = 20;

const QString WaitCaption = QStringLiteral("Loading, Please Wait...");

// The search text is blank when nothing but spaces is left.
bool isBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char(' '); });
}

} // namespace

frmProcedures::frmProcedures(QWidget *parent) : QWidget(parent), vbalImageList_(rowIcons())
{
    setObjectName(QStringLiteral("frmProcedures"));
    setWindowTitle(QStringLiteral("Procedures"));
    setMinimumSize(platform::twipsToPixels(DesignWidth), platform::twipsToPixels(DesignHeight));
    buildControls();
    connectHandlers();
    Form_Load();
}

frmProcedures::~frmProcedures() = default;

void frmProcedures::buildControls()
{
    // The wait labels come first so that every control made later lies above
    // them: a label is seen only while the list or grid over it is hidden.
    lblWait_[1] = form::caption(this, WaitCaption, form::tahoma(24));
    lblWait_[0] = form::caption(this, WaitCaption, form::tahoma(24));

    lstSearchID_ = new ResultList(this);
    lstSearchID_->setObjectName(QStringLiteral("lstSearchID"));
    lstSearchID_->setFocusPolicy(Qt::NoFocus);
    lstSearchID_->hide();
    platform::sendAccessibilityUpdatesOfShownWidgetsOnly();
    platform::hideFromAssistiveTechnology(lstSearchID_);

    lstSearch_ = new ResultList(this);
    lstSearch_->setObjectName(QStringLiteral("lstSearch"));
    lstSearch_->setAccessibleName(QStringLiteral("Search results"));
    lstSearch_->setFont(form::tahoma(8.25));
    lstSearch_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSearch_->setItemDelegate(new TextRowDelegate(lstSearch_));
    lstSearch_->viewport()->setMouseTracking(true);

    txtSearch_ = new QLineEdit(this);
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    txtSearch_->setAccessibleName(QStringLiteral("Search text"));
    txtSearch_->setFont(form::tahoma(8.25));

    cmdSearch_ = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Search"),
                                 this);
    cmdSearch_->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch_->setFont(form::sansSerif(8.25));

    Command1_ = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                QStringLiteral("Advanced Search"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setFont(form::sansSerif(8.25));

    // Says itself when a search ends: a reader hears the count there.
    lblSearch_ = form::caption(new platform::AnnouncingLabel(this), form::tahoma(9));
    lblSearch_->setObjectName(QStringLiteral("lblSearch"));
    lblSearch_->hide(); // until the first search has a count to say
    // Past five digits the count no longer fits one line of the column.
    lblSearch_->setWordWrap(true);

    vbalGrid_ = new platform::Grid(this);
    vbalGrid_->setObjectName(QStringLiteral("vbalGrid"));
    vbalGrid_->setAccessibleName(QStringLiteral("Procedure details"));

    picDuplicates_ = new DuplicatesPanel(this);
    picAdvanced_ = new AdvancedPanel(this);
    waitLook_ = new WaitLook(lstSearch_, vbalGrid_, lblWait_[0]);
    waitLook_->setParent(this);
    // Each wait caption shows only while it is meant to be seen: covered, it
    // was still read out by a reader's review of the screen.
    lblWait_[1]->hide();

    // Whichever of the panels and the grid covers the lower area, its controls
    // come after the results; hidden ones are passed over.
    form::chainTabOrder(QList<QWidget *>{txtSearch_, cmdSearch_, Command1_, lstSearch_} + picAdvanced_->tabOrder()
                        + QList<QWidget *>{picDuplicates_->lstDuplicates(), vbalGrid_});
    // Enter presses the button that has the keyboard, as Space does; Qt's
    // buttons take it only in dialogs, and a reader's user expects it here.
    for (QPushButton *button :
         {cmdSearch_, Command1_, picAdvanced_->cmdAdvancedSearch(), picAdvanced_->cmdAdvancedCancel()})
        button->setAutoDefault(true);
    relayout();
}

void frmProcedures::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void frmProcedures::relayout()
{
    using form::Growth;
    const QSize extra = form::extraSize(this, DesignWidth, DesignHeight);
    const ExtraHeight shares = shareExtraHeight(extra.height());
    const int wider = extra.width();

    form::place(lstSearch_, 120, 120, 8535, 1620, Growth{0, 0, wider, shares.list});
    form::place(lstSearchID_, 1440, 480, 1455, 840);
    // The search controls keep their distance from the right edge.
    form::place(txtSearch_, 8760, 120, 2175, 375, Growth{wider});
    form::place(cmdSearch_, 8760, 600, 2115, 285, Growth{wider});
    form::place(Command1_, 8760, 960, 2130, 285, Growth{wider});
    form::place(lblSearch_, 8760, 1320, 2175, 480, Growth{wider});
    // Each wait label stays in the middle of what it lies under.
    form::place(lblWait_[1], 720, 120, 7335, 1575, Growth{wider / 2, shares.list / 2});
    form::place(lblWait_[0], 1920, 3240, 7335, 1815, Growth{wider / 2, shares.list + shares.grid / 2});
    // The grid and the two panels over it always share one rectangle. Set
    // before the grid is resized, which fits its rows to the column.
    vbalGrid_->setColumnWidth(ValueColumn - 1, ValueColumnWidth + wider);
    const Growth lowerArea{0, shares.list, wider, shares.grid};
    for (QWidget *area : std::initializer_list<QWidget *>{vbalGrid_, picDuplicates_, picAdvanced_})
        form::place(area, 120, 1800, 10815, 5055, lowerArea);
}

int frmProcedures::resultRowHeight() const
{
    QStyleOptionViewItem row;
    row.initFrom(lstSearch_);
    row.font = lstSearch_->font();
    row.features |= QStyleOptionViewItem::HasDisplay;
    row.text = QStringLiteral("Xg");
    return lstSearch_->style()->sizeFromContents(QStyle::CT_ItemViewItem, &row, QSize(), lstSearch_).height();
}

frmProcedures::ExtraHeight frmProcedures::shareExtraHeight(int extra) const
{
    // The grid takes what it needs to show its eleven rows without scrolling,
    // but never more than two thirds; the list takes the rest, which is where
    // a larger screen pays off.
    const int gridWants = std::max(0, gridContentHeight() - platform::twipsToPixels(5055));
    const int grid = std::min(gridWants, extra * 2 / 3);
    return {extra - grid, grid};
}

int frmProcedures::gridContentHeight() const
{
    // Rows as tall as their wrapped captions and values make them now.
    int rows = 0;
    for (int row = 0; row < vbalGrid_->rowCount(); ++row)
        rows += vbalGrid_->rowHeight(row);
    return 2 * vbalGrid_->frameWidth() + vbalGrid_->headerHeight() + rows;
}

QSize frmProcedures::preferredSize() const
{
    // Wide enough for the longest procedure title on one line, estimated from
    // the font alone: the window opens before any title is read (a test
    // checks the estimate against every title of a full release).
    const QFontMetrics metrics(lstSearch_->font());
    const int titleWidth = metrics.horizontalAdvance(QString(LongestTitleInEns, QLatin1Char('n')));
    // The frame, a vertical scroll bar and the margins the style puts around a row's text.
    const int listChrome = 2 * lstSearch_->frameWidth()
                           + lstSearch_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, lstSearch_)
                           + RowTextAllowance;
    const int wider = std::max(0, titleWidth + listChrome - platform::twipsToPixels(8535));

    const int listHeight = ResultRowsWanted * resultRowHeight() + 2 * lstSearch_->frameWidth();
    const int listNeeds = std::max(0, listHeight - platform::twipsToPixels(1620));
    int taller = listNeeds;
    while (shareExtraHeight(taller).list < listNeeds)
        ++taller;
    return QSize(platform::twipsToPixels(DesignWidth) + wider, platform::twipsToPixels(DesignHeight) + taller);
}

void frmProcedures::connectHandlers()
{
    txtSearch_->installEventFilter(this);
    lstSearch_->viewport()->installEventFilter(this);
    connect(cmdSearch_, &QPushButton::clicked, this, &frmProcedures::cmdSearch_Click);
    // The lists' handlers read rows and let events run; they are queued so that
    // the list has finished its own mouse or key handling before, and a window
    // closed meanwhile leaves no list code running on a deleted widget.
    connect(
        lstSearch_, &ResultList::itemSelectionChanged, this,
        [this] {
            if (lstSearch_->hasSelection())
                lstSearch_Click();
        },
        Qt::QueuedConnection);
    // A click on the row that is already selected changes no selection; it
    // still asks for the details when the grid no longer shows them.
    connect(
        lstSearch_, &QAbstractItemView::clicked, this,
        [this](const QModelIndex &index) {
            if (gridEmptied_ && lstSearch_->hasSelection() && index.row() == lstSearch_->currentRow())
                lstSearch_Click();
        },
        Qt::QueuedConnection);
    new ListKeys(lstSearch_);
    new ListKeys(vbalGrid_);
    connect(Command1_, &QPushButton::clicked, this, &frmProcedures::Command1_Click);
    connect(picAdvanced_->cmdAdvancedCancel(), &QPushButton::clicked, this, &frmProcedures::cmdAdvancedCancel_Click);
    connect(picAdvanced_->cmdAdvancedSearch(), &QPushButton::clicked, this, &frmProcedures::cmdAdvancedSearch_Click);
    connect(picAdvanced_, &AdvancedPanel::findRequested, this, &frmProcedures::cmdAdvancedSearch_Click);
    connect(picAdvanced_, &AdvancedPanel::cancelRequested, this, &frmProcedures::cmdAdvancedCancel_Click);

    QListWidget *duplicates = picDuplicates_->lstDuplicates();
    const auto chooseDuplicate = [this](int row) {
        QMetaObject::invokeMethod(this, [this, row] { lstDuplicates_DblClick(row); }, Qt::QueuedConnection);
    };
    connect(duplicates, &QListWidget::itemDoubleClicked, this,
            [duplicates, chooseDuplicate](QListWidgetItem *item) { chooseDuplicate(duplicates->row(item)); });
    connect(new ListKeys(duplicates), &ListKeys::rowChosen, this, chooseDuplicate);
    connect(vbalGrid_, &platform::Grid::mouseMoved, this, &frmProcedures::vbalGrid_MouseMove);
    addCopyActions();
    addCodeTablesActions();
}

void frmProcedures::addCodeTablesActions()
{
    auto *fromList = new QAction(QStringLiteral("Show in Code Tables"), lstSearch_);
    connect(fromList, &QAction::triggered, this, [this] {
        const int row = lstSearch_->currentRow();
        bool ok = false;
        const qint32 id = row < 0 || row >= lstSearchID_->count() ? 0 : lstSearchID_->text(row).toInt(&ok);
        if (ok)
            emit codeTablesRequested(QString(), id);
    });
    lstSearch_->addAction(fromList);
    auto *fromGrid = new QAction(QStringLiteral("Show in Code Tables"), vbalGrid_);
    connect(fromGrid, &QAction::triggered, this, [this] {
        const QString code = vbalGrid_->cellText(CodeRow, ValueColumn);
        if (!code.isEmpty())
            emit codeTablesRequested(code, 0);
    });
    vbalGrid_->addAction(fromGrid);
}

void frmProcedures::addCopyActions()
{
    addCopyAction(
        lstSearch_, QStringLiteral("Copy"), [this] { return lstSearch_->text(lstSearch_->currentRow()); }, true);
    QListWidget *duplicates = picDuplicates_->lstDuplicates();
    addCopyAction(
        duplicates, QStringLiteral("Copy"),
        [duplicates] { return duplicates->currentItem() ? duplicates->currentItem()->text() : QString(); }, true);
    addCopyAction(
        vbalGrid_, QStringLiteral("Copy"),
        [this] {
            const int row = vbalGrid_->currentRow();
            return row < 0 ? QString() : vbalGrid_->cellText(row + 1, ValueColumn);
        },
        true);
    addCopyAction(vbalGrid_, QStringLiteral("Copy ICD-10 code"),
                  [this] { return vbalGrid_->cellText(CodeRow, ValueColumn); });
    addCopyAction(vbalGrid_, QStringLiteral("Copy ICD-9 code"),
                  [this] { return vbalGrid_->cellText(Icd9CodeRow, ValueColumn); });
    addCopyAction(vbalGrid_, QStringLiteral("Copy all"), [this] { return allDetailsText(*vbalGrid_); });
}

void frmProcedures::focusSearchBox()
{
    txtSearch_->setFocus(Qt::OtherFocusReason);
}

void frmProcedures::Form_Load()
{
    PrepareTheGrid();
    relayout();
    picAdvanced_->selectPosition(TextPosition::Includes);
    picAdvanced_->selectJoining(Joining::AllKeywords);
    picDuplicates_->lblDuplicates()->setText(DuplicatesMessage);
    // The instruction is what a screen reader says of the alternatives.
    picDuplicates_->lstDuplicates()->setAccessibleDescription(DuplicatesMessage);
}

void frmProcedures::setBackground(const QPixmap &picture, const QColor &colour)
{
    backdrop_ = {picture, colour};
    // Captions drawn on the window's surface stay readable on a dark theme.
    QPalette captions = palette();
    const bool dark = colour.isValid() && colour.lightness() < 128;
    captions.setColor(QPalette::WindowText, dark ? QColor(Qt::white) : QColor(Qt::black));
    for (QLabel *label : std::initializer_list<QLabel *>{lblWait_[0], lblWait_[1], lblSearch_})
        label->setPalette(captions);
    update();
}

void frmProcedures::paintEvent(QPaintEvent *)
{
    backdrop_.paintOn(*this);
}

bool frmProcedures::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSearch_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isEnterKey(key->key()))
            enterPressedInSearchBox_ = true;
    }
    if (watched == txtSearch_ && event->type() == QEvent::FocusOut)
        enterPressedInSearchBox_ = false;
    if (watched == txtSearch_ && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return false;
        // The release of an Enter pressed elsewhere (on "No" in the question
        // this very search box asked) is no request for a search.
        if (isEnterKey(key->key()) && !std::exchange(enterPressedInSearchBox_, false))
            return false;
        const QPointer<QObject> alive(this);
        txtSearch_KeyUp(key->key());
        // Once the window is gone, the text box the event was for is gone too.
        return !alive;
    }
    if (watched == lstSearch_->viewport() && event->type() == QEvent::MouseMove)
        lstSearch_MouseMove();
    return QWidget::eventFilter(watched, event);
}

void frmProcedures::txtSearch_KeyUp(int key)
{
    // Return and the keypad's Enter are both key code 13; modifiers do not matter.
    if (isEnterKey(key))
        cmdSearch_Click();
}

void frmProcedures::cmdSearch_Click()
{
    if (isReading())
        return;
    const QPointer<frmProcedures> alive(this);
    if (isBlank(txtSearch_->text())) {
        const bool proceed = prompts_.confirm(this, NoCriteriaTitle, NoCriteriaPrompt);
        if (!alive || !proceed || isReading())
            return;
    }
    reading_ = Reading::Search;
    // Disabling takes the focus away; the user's place is given back afterwards.
    const QPointer<QWidget> focus = isAncestorOf(QApplication::focusWidget()) ? QApplication::focusWidget() : nullptr;
    lstSearch_->hide();
    setEnabled(false);

    std::optional<platform::AppError> error;
    if (!readSearchResults(keywordStatement(txtSearch_->text()), error))
        return;
    // Nothing for the phrase as typed: the words may stand in another order in the titles.
    if (!error && lstSearchID_->count() == 0) {
        const QStringList words = searchWords(txtSearch_->text());
        if (words.size() >= 2 && !readSearchResults(allWordsStatement(words), error, &ResultLists::allWordsCountCaption))
            return;
    }

    showResults(!error);
    setEnabled(true);
    reading_ = Reading::Nothing;
    if (focus)
        focus->setFocus();
    if (error)
        reportSearchError(*error);
}

bool frmProcedures::readSearchResults(const QString &statement, std::optional<platform::AppError> &error,
                                      CountCaption caption)
{
    const QPointer<QObject> alive(this);
    const ResultLists lists{lstSearch_, lstSearchID_};
    try {
        SharedQuery query(statement);
        lists.clear();
        lstSearch_->hide();
        lblWait_[1]->show();
        platform::serviceEvents();
        if (!alive)
            return false;
        const std::optional<int> count = lists.fill(query, alive);
        if (!count)
            return false;
        query.close();
        const QString found = (caption ? caption : &ResultLists::countCaption)(*count);
        lblSearch_->setText(found);
        lstSearch_->setAccessibleDescription(found);
    } catch (const platform::AppError &failure) {
        // Thrown only while the window exists: rows are not touched once it is gone.
        error = failure;
    }
    return true;
}

void frmProcedures::showResults(bool announceCount)
{
    lstSearch_->show();
    lblWait_[1]->hide();
    // Once, for the search as a whole (it may have read a second statement).
    if (announceCount)
        lblSearch_->announce(lblSearch_->text());
}

void frmProcedures::reportSearchError(const platform::AppError &error)
{
    prompts_.tell(this, QMessageBox::Critical, windowTitle(),
                  QStringLiteral("The search could not be completed.\r\n\r\nError %1: %2")
                      .arg(error.number())
                      .arg(error.description()));
}

void frmProcedures::lstSearch_Click()
{
    picAdvanced_->hide();
    const int row = lstSearch_->currentRow();
    if (row < 0 || row >= lstSearchID_->count())
        return;
    bool ok = false;
    const qint32 id = lstSearchID_->text(row).toInt(&ok);
    if (!ok)
        return;
    GetProductDetails(id, QStringLiteral("0"));
}

void frmProcedures::showDetailsOfProcedure(qint32 id)
{
    picAdvanced_->hide();
    readProductDetails(id, QStringLiteral("0"), std::nullopt, DetailsFocus::ProcedureName);
}

void frmProcedures::lstSearch_MouseMove()
{
    lstSearch_->setFocus();
}

void frmProcedures::vbalGrid_MouseMove()
{
    vbalGrid_->setFocus();
}

} // namespace lookup
