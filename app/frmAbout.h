#pragma once
// The About window: the program's name and version, the maker's notice, web
// site and a credit line beside the logo. A click on the logo or on the text
// opens the web site with the desktop's default handler.

#include "platform/Backdrop.h"

#include <QWidget>

class QFrame;
class QLabel;

namespace app {

class frmAbout : public QWidget {
    Q_OBJECT
public:
    static const QString WebsiteAddress;

    explicit frmAbout(QWidget *parent = nullptr);

    // Opens a document or an address with its default handler; returns the
    // shell's result code (above 32 when a handler started). A failure shows nothing.
    qint32 StartDoc(const QString &DocName);

    // The theme's picture and colour, given by the frame.
    void setBackground(const QPixmap &picture, const QColor &colour);

    // lblAbout's caption as composed, with CR LF line breaks (the label shows
    // each as a new line).
    const QString &aboutCaption() const { return caption_; }
    // creditLine: what the code tables are (the database says, or a neutral line).
    static QString composeAboutCaption(const QString &creditLine);

    const platform::Backdrop &backdrop() const { return backdrop_; }

signals:
    // Escape or Ctrl+F4: the user is done with the window.
    void closeRequested();

public:
    QFrame *picAbout() const { return picAbout_; }
    QLabel *imgLogo() const { return imgLogo_; }
    QLabel *lblAbout() const { return lblAbout_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The white panel stays in the middle of a window larger than its design.
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void Form_Load();
    void imgLogo_Click();
    void lblAbout_Click();

    QFrame *picAbout_ = nullptr;
    QLabel *imgLogo_ = nullptr;
    QLabel *lblAbout_ = nullptr;
    // The logo or the text, while a left button pressed on it is down.
    QWidget *pressed_ = nullptr;
    QString caption_;
    platform::Backdrop backdrop_;
};

} // namespace app
