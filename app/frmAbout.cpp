#include "frmAbout.h"

#include "app/AppVersion.h"
#include "app/ProgramArt.h"
#include "lookup/CodeSetRelease.h"
#include "platform/LeaveKeys.h"
#include "platform/Twips.h"
#include "platform/desktop/DocumentLauncher.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QResizeEvent>

namespace app {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString MakersNotice = QStringLiteral("Copyright \u00A9 2008 Dantreb");

} // namespace

// A reserved example domain: the maker publishes no site of its own.
const QString frmAbout::WebsiteAddress = QStringLiteral("https://vorimel.example");

frmAbout::frmAbout(QWidget *parent) : QWidget(parent)
{
    buildControls();
    Form_Load();
}

void frmAbout::buildControls()
{
    setWindowTitle(QStringLiteral("About"));
    resize(platform::twipsToPixels(11100), platform::twipsToPixels(7035));

    picAbout_ = new QFrame(this);
    picAbout_->setObjectName(QStringLiteral("picAbout"));
    picAbout_->setGeometry(platform::twipsRect(120, 120, 10815, 6735));
    picAbout_->setAccessibleName(QStringLiteral("About Vorimel"));
    picAbout_->setAutoFillBackground(true);
    QPalette white = picAbout_->palette();
    white.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    picAbout_->setPalette(white);

    imgLogo_ = new QLabel(picAbout_);
    imgLogo_->setObjectName(QStringLiteral("imgLogo"));
    imgLogo_->setGeometry(platform::twipsRect(120, 840, 5250, 4275));
    imgLogo_->setPixmap(aboutLogo());
    imgLogo_->setCursor(Qt::PointingHandCursor);
    imgLogo_->setAccessibleName(QStringLiteral("Vorimel logo"));

    lblAbout_ = new QLabel(picAbout_);
    lblAbout_->setObjectName(QStringLiteral("lblAbout"));
    lblAbout_->setGeometry(platform::twipsRect(5880, 1680, 4455, 2535));
    lblAbout_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblAbout_->setWordWrap(true);
    lblAbout_->setTextFormat(Qt::PlainText);
    lblAbout_->setCursor(Qt::PointingHandCursor);
    // Tahoma, bold, 11.25 points (the design's Arabic character set has no
    // counterpart: Qt picks glyphs by the text itself). Where Tahoma is not
    // installed, Liberation Sans is about as wide, so the text still fits.
    QFont font(QStringLiteral("Tahoma"));
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(11.25);
    font.setBold(true);
    lblAbout_->setFont(font);
    QPalette text = lblAbout_->palette();
    text.setColor(QPalette::WindowText, QColor(0x40, 0x40, 0x40));
    lblAbout_->setPalette(text);

    // The label takes the focus when the window opens, so that a screen
    // reader reads the text at once; its window is its only Tab stop.
    lblAbout_->setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(lblAbout_);

    platform::leaveOnEscapeOrCtrlF4(this, [this] { emit closeRequested(); });
    imgLogo_->installEventFilter(this);
    lblAbout_->installEventFilter(this);
}

QString frmAbout::composeAboutCaption(const QString &creditLine)
{
    return QStringLiteral("Vorimel - version ") + QString::number(version::Major) + QLatin1Char('.')
           + QString::number(version::Minor) + QLatin1Char('.') + QString::number(version::Revision) + CrLf
           + MakersNotice + CrLf + CrLf + CrLf
           + QStringLiteral("Website - ") + WebsiteAddress + QLatin1Char(' ') + CrLf + CrLf
           + creditLine;
}

void frmAbout::Form_Load()
{
    caption_ = composeAboutCaption(lookup::CodeSetRelease::creditLineOf(lookup::CodeSetRelease::read()));
    QString shown = caption_;
    lblAbout_->setText(shown.replace(CrLf, QStringLiteral("\n")));
}

qint32 frmAbout::StartDoc(const QString &DocName)
{
    return platform::desktop::ShellExecuteA(QStringLiteral("Open"), DocName);
}

void frmAbout::imgLogo_Click()
{
    StartDoc(WebsiteAddress);
}

void frmAbout::lblAbout_Click()
{
    StartDoc(WebsiteAddress);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    // The logo and the text have no click of their own: a left press and a
    // left release inside the same one make it.
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || (target != imgLogo_ && target != lblAbout_))
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        pressed_ = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton ? target : nullptr;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        const auto *release = static_cast<QMouseEvent *>(event);
        const bool click = pressed_ == target && release->button() == Qt::LeftButton
                           && target->rect().contains(release->position().toPoint());
        pressed_ = nullptr;
        if (click && target == imgLogo_)
            imgLogo_Click();
        else if (click)
            lblAbout_Click();
    }
    return false;
}

void frmAbout::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QRect design = platform::twipsRect(120, 120, 10815, 6735);
    const QSize extra = (size() - platform::twipsRect(0, 0, 11100, 7035).size()).expandedTo(QSize(0, 0));
    picAbout_->move(design.topLeft() + QPoint(extra.width() / 2, extra.height() / 2));
}

void frmAbout::setBackground(const QPixmap &picture, const QColor &colour)
{
    backdrop_ = platform::Backdrop{picture, colour};
    update();
}

void frmAbout::paintEvent(QPaintEvent *)
{
    backdrop_.paintOn(*this);
}

} // namespace app
