#include "lookup/AdvancedPanel.h"

#include "lookup/FormLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShortcut>

namespace lookup {

namespace {

struct ParameterRow {
    const char *caption;
    const char *column;
};

constexpr std::array<ParameterRow, AdvancedPanel::ParamCount> parameterRows{{
    {"PCS 10 Desc", "Description"},
    {"PCS 10 Code", "code"},
    {"PCS 9 Code", "PCS9"},
    {"PCS 9 Desc", "PCS9Desc"},
    {"Character 1", "Character 1"},
    {"Character 2", "Character 2"},
    {"Character 3", "Character 3"},
    {"Character 4", "Character 4"},
    {"Character 5", "Character 5"},
    {"Character 6", "Character 6"},
    {"Character 7", "Character 7"},
}};

constexpr int OptionSize = 210;
constexpr int CaptionWidth = 1575;
constexpr int CaptionHeight = 255;

} // namespace

AdvancedPanel::AdvancedPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("picAdvanced"));
    setAccessibleName(QStringLiteral("Advanced Search"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    buildParameterRows();
    buildPositionOptions();
    buildJoiningOptions();
    buildButtons();
    form::chainTabOrder(tabOrder());
    form::place(this, 120, 1800, 10815, 5055);
    relayout();
    hide();
}

QString AdvancedPanel::columnOfRow(int i)
{
    return QString::fromLatin1(parameterRows.at(i).column);
}

void AdvancedPanel::buildParameterRows()
{
    for (int i = 0; i < ParamCount; ++i) {
        const QString caption = QString::fromLatin1(parameterRows[i].caption);
        auto *tick = new QCheckBox(this);
        tick->setAccessibleName(caption);
        chkParam_[i] = tick;

        QLabel *label = form::caption(this, caption, form::timesRoman(8.25));
        label->setProperty("tag", columnOfRow(i));
        lblParam_[i] = label;

        auto *text = new QLineEdit(this);
        text->setFont(form::tahoma(8.25));
        text->setAccessibleName(caption);
        label->setBuddy(text);
        connect(text, &QLineEdit::returnPressed, this, &AdvancedPanel::findRequested);
        txtParam_[i] = text;
    }
}

void AdvancedPanel::buildPositionOptions()
{
    positionGroup_ = new QButtonGroup(this);
    const std::array<const char *, 3> captions{"Starting With...", "... Includes ...", "... Ending With"};
    for (int i = 0; i < 3; ++i) {
        const QString caption = QString::fromLatin1(captions[i]);
        auto *option = new QRadioButton(this);
        option->setAccessibleName(caption);
        positionGroup_->addButton(option, i);
        optParamSettings_[i] = option;
        lblParamSettings_[i] = form::caption(this, caption, form::timesRoman(8.25));
    }
    lblParamSettings_[3] = form::caption(this, QStringLiteral("Search Criteria"), form::timesRoman(8.25));
}

void AdvancedPanel::buildJoiningOptions()
{
    // A container of its own, so choosing here never clears the position choice.
    picBox_ = new QFrame(this);
    picBox_->setObjectName(QStringLiteral("picBox"));
    picBox_->setAccessibleName(QStringLiteral("Only results with"));
    lblParamSettings_[4] = form::caption(picBox_, QStringLiteral("Only results with"), form::timesRoman(8.25), 0, 0,
                                         CaptionWidth, CaptionHeight);
    joiningGroup_ = new QButtonGroup(this);
    const std::array<const char *, 2> captions{"All Keywords", "Any Keyword"};
    const std::array<int, 2> tops{360, 600};
    for (int i = 0; i < 2; ++i) {
        const QString caption = QString::fromLatin1(captions[i]);
        auto *option = new QRadioButton(picBox_);
        option->setAccessibleName(caption);
        form::place(option, 120, tops[i], OptionSize, OptionSize);
        joiningGroup_->addButton(option, i);
        optParamConcat_[i] = option;
        lblParamSettings_[5 + i] = form::caption(picBox_, caption, form::timesRoman(8.25), 480, tops[i],
                                                 CaptionWidth, CaptionHeight);
    }
}

void AdvancedPanel::buildButtons()
{
    cmdAdvancedCancel_ = new QPushButton(QStringLiteral("CANCEL"), this);
    cmdAdvancedCancel_->setFont(form::sansSerif(8.25));
    cmdAdvancedSearch_ = new QPushButton(QStringLiteral("FIND"), this);
    cmdAdvancedSearch_->setFont(form::sansSerif(8.25));
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &AdvancedPanel::cancelRequested);
}

void AdvancedPanel::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    relayout();
}

void AdvancedPanel::relayout()
{
    using form::Growth;
    // The texts take half of any extra width; the options to their right move
    // along with them. The rows keep their height.
    const int wider = form::extraSize(this, DesignWidth, DesignHeight).width() / 2;
    for (int i = 0; i < ParamCount; ++i) {
        const int top = 240 + 360 * i;
        form::place(chkParam_[i], 120, top, 210, 210);
        form::place(lblParam_[i], 480, top, 1455, 255);
        form::place(txtParam_[i], 2040, top, 2655, 285, Growth{0, 0, wider});
    }
    const std::array<int, 3> tops{720, 960, 1200};
    for (int i = 0; i < 3; ++i) {
        form::place(optParamSettings_[i], 5160, tops[i], OptionSize, OptionSize, Growth{wider});
        form::place(lblParamSettings_[i], 5520, tops[i], CaptionWidth, CaptionHeight, Growth{wider});
    }
    form::place(lblParamSettings_[3], 4920, 360, CaptionWidth, CaptionHeight, Growth{wider});
    form::place(picBox_, 5040, 1920, 2055, 1095, Growth{wider});
    form::place(cmdAdvancedCancel_, 120, 4320, 2175, 375);
    form::place(cmdAdvancedSearch_, 2520, 4320, 2175, 375);
}

std::vector<AdvancedCondition> AdvancedPanel::conditions() const
{
    std::vector<AdvancedCondition> ticked;
    for (int i = 0; i < ParamCount; ++i) {
        if (chkParam_[i]->isChecked())
            ticked.push_back({lblParam_[i]->property("tag").toString(), txtParam_[i]->text()});
    }
    return ticked;
}

QList<QWidget *> AdvancedPanel::tabOrder() const
{
    QList<QWidget *> order;
    for (int i = 0; i < ParamCount; ++i)
        order << chkParam_[i] << txtParam_[i];
    for (QRadioButton *option : optParamSettings_)
        order << option;
    for (QRadioButton *option : optParamConcat_)
        order << option;
    order << cmdAdvancedSearch_ << cmdAdvancedCancel_;
    return order;
}

TextPosition AdvancedPanel::position() const
{
    switch (positionGroup_->checkedId()) {
    case 0:
        return TextPosition::StartingWith;
    case 2:
        return TextPosition::EndingWith;
    default:
        return TextPosition::Includes;
    }
}

Joining AdvancedPanel::joining() const
{
    return joiningGroup_->checkedId() == 1 ? Joining::AnyKeyword : Joining::AllKeywords;
}

void AdvancedPanel::selectPosition(TextPosition position)
{
    optParamSettings_.at(int(position))->setChecked(true);
}

void AdvancedPanel::selectJoining(Joining joining)
{
    optParamConcat_.at(int(joining))->setChecked(true);
}

} // namespace lookup
