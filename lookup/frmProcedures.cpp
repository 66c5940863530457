#include "lookup/frmProcedures.h"

#include "lookup/AdvancedPanel.h"
#include "lookup/DetailsGrid.h"
#include "lookup/DuplicatesPanel.h"
#include "lookup/FormLayout.h"
#include "lookup/ResultLists.h"
#include "lookup/SharedQuery.h"
#include "lookup/Statements.h"
#include "lookup/TextRowDelegate.h"
#include "platform/EventPump.h"
#include "platform/Twips.h"
#include "platform/grid/Grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace lookup {

const QString frmProcedures::NoCriteriaTitle = QStringLiteral("No search criteria found...");
const QString frmProcedures::NoCriteriaPrompt =
    QStringLiteral("No Search Criteria where entered. Proceeding with the search may take a long time.\r\n"
                   "Are you sure you want to continue?");
const QString frmProcedures::DuplicatesMessage =
    QStringLiteral("More than ONE record was found for the item you selected. Please double click to select the "
                   "item you need from the list below.");

namespace {

const QString WaitCaption = QStringLiteral("Loading, Please Wait...");

// The search text is blank when nothing but spaces is left.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' '))
            return false;
    }
    return true;
}

} // namespace

frmProcedures::frmProcedures(QWidget *parent) : QWidget(parent), vbalImageList_(rowIcons())
{
    setObjectName(QStringLiteral("frmProcedures"));
    setWindowTitle(QStringLiteral("Procedures"));
    setMinimumSize(platform::twipsToPixels(11100), platform::twipsToPixels(7035));
    buildControls();
    connectHandlers();
    Form_Load();
}

frmProcedures::~frmProcedures() = default;

void frmProcedures::buildControls()
{
    // The wait labels come first so that every control made later lies above
    // them: a label is seen only while the list or grid over it is hidden.
    lblWait_[1] = form::caption(this, WaitCaption, form::tahoma(24), 720, 120, 7335, 1575);
    lblWait_[0] = form::caption(this, WaitCaption, form::tahoma(24), 1920, 3240, 7335, 1815);

    lstSearchID_ = new ResultList(this);
    lstSearchID_->setObjectName(QStringLiteral("lstSearchID"));
    form::place(lstSearchID_, 1440, 480, 1455, 840);
    lstSearchID_->hide();

    lstSearch_ = new ResultList(this);
    lstSearch_->setObjectName(QStringLiteral("lstSearch"));
    lstSearch_->setFont(form::tahoma(8.25));
    lstSearch_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstSearch_->setItemDelegate(new TextRowDelegate(lstSearch_));
    lstSearch_->viewport()->setMouseTracking(true);
    form::place(lstSearch_, 120, 120, 8535, 1620);

    txtSearch_ = new QLineEdit(this);
    txtSearch_->setObjectName(QStringLiteral("txtSearch"));
    txtSearch_->setFont(form::tahoma(8.25));
    form::place(txtSearch_, 8760, 120, 2175, 375);

    cmdSearch_ = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("Search"),
                                 this);
    cmdSearch_->setObjectName(QStringLiteral("cmdSearch"));
    cmdSearch_->setFont(form::sansSerif(8.25));
    form::place(cmdSearch_, 8760, 600, 2115, 285);

    Command1_ = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                QStringLiteral("Advanced Search"), this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setFont(form::sansSerif(8.25));
    form::place(Command1_, 8760, 960, 2130, 285);

    lblSearch_ = form::caption(this, QString(), form::tahoma(9), 8760, 1320, 2175, 255);
    lblSearch_->setObjectName(QStringLiteral("lblSearch"));

    vbalGrid_ = new platform::Grid(this);
    vbalGrid_->setObjectName(QStringLiteral("vbalGrid"));
    form::place(vbalGrid_, 120, 1800, 10815, 5055);

    picDuplicates_ = new DuplicatesPanel(this);
    picAdvanced_ = new AdvancedPanel(this);
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
    connect(Command1_, &QPushButton::clicked, this, &frmProcedures::Command1_Click);
    connect(picAdvanced_->cmdAdvancedCancel(), &QPushButton::clicked, this, &frmProcedures::cmdAdvancedCancel_Click);
    connect(picAdvanced_->cmdAdvancedSearch(), &QPushButton::clicked, this, &frmProcedures::cmdAdvancedSearch_Click);
    connect(
        picDuplicates_->lstDuplicates(), &QListWidget::itemDoubleClicked, this,
        [this](QListWidgetItem *item) {
            const int row = picDuplicates_->lstDuplicates()->row(item);
            QMetaObject::invokeMethod(this, [this, row] { lstDuplicates_DblClick(row); }, Qt::QueuedConnection);
        });
    connect(vbalGrid_, &platform::Grid::mouseMoved, this, &frmProcedures::vbalGrid_MouseMove);
}

void frmProcedures::Form_Load()
{
    PrepareTheGrid();
    picAdvanced_->selectPosition(TextPosition::Includes);
    picAdvanced_->selectJoining(Joining::AllKeywords);
    picDuplicates_->lblDuplicates()->setText(DuplicatesMessage);
}

void frmProcedures::setBackground(const QPixmap &picture, const QColor &colour)
{
    backgroundPicture_ = picture;
    backgroundColour_ = colour;
    // Captions drawn on the window's surface stay readable on a dark theme.
    QPalette captions = palette();
    const bool dark = colour.isValid() && colour.lightness() < 128;
    captions.setColor(QPalette::WindowText, dark ? QColor(Qt::white) : QColor(Qt::black));
    for (QLabel *label : {lblWait_[0], lblWait_[1], lblSearch_})
        label->setPalette(captions);
    update();
}

void frmProcedures::paintEvent(QPaintEvent *)
{
    if (!backgroundColour_.isValid() && backgroundPicture_.isNull())
        return;
    QPainter painter(this);
    if (backgroundColour_.isValid())
        painter.fillRect(rect(), backgroundColour_);
    if (!backgroundPicture_.isNull())
        painter.drawPixmap(0, 0, backgroundPicture_);
}

bool frmProcedures::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtSearch_ && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
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
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
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

    lstSearch_->show();
    setEnabled(true);
    reading_ = Reading::Nothing;
    if (focus)
        focus->setFocus();
    if (error)
        reportSearchError(*error);
}

bool frmProcedures::readSearchResults(const QString &statement, std::optional<platform::AppError> &error)
{
    const QPointer<QObject> alive(this);
    const ResultLists lists{lstSearch_, lstSearchID_};
    try {
        SharedQuery query(statement);
        lists.clear();
        lstSearch_->hide();
        platform::serviceEvents();
        if (!alive)
            return false;
        const std::optional<int> count = lists.fill(query, alive);
        if (!count)
            return false;
        query.close();
        lblSearch_->setText(ResultLists::countCaption(*count));
    } catch (const platform::AppError &failure) {
        // Thrown only while the window exists: rows are not touched once it is gone.
        error = failure;
    }
    return true;
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

void frmProcedures::lstSearch_MouseMove()
{
    lstSearch_->setFocus();
}

void frmProcedures::vbalGrid_MouseMove()
{
    vbalGrid_->setFocus();
}

} // namespace lookup
