// SPDX-License-Identifier: GPL-3.0-or-later
#include "frm_param.h"

#include "ColorPicker.h"
#include "EIniFileException.h"
#include "EndTime.h"
#include "ErrorGuard.h"
#include "FilenameEdit.h"
#include "FontSizePicker.h"
#include "FrameExtents.h"
#include "IniFile.h"
#include "MessageBoxes.h"
#include "MonitorChoice.h"
#include "SettingsSchema.h"
#include "SpinField.h"
#include "SpinWheelRouter.h"
#include "StageSettings.h"
#include "SystemColors.h"
#include "pub_unit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::int32_t clWindow = std::int32_t(SystemColors::systemColourFlag | 5u);
constexpr std::int32_t clRed = 0x000000FF;
constexpr std::int32_t clBlack = 0x00000000;
constexpr std::int32_t clYellow = 0x0000FFFF;
// The longest warning the fields take: the longest duration, 99:59:59.
constexpr int maxWarning = 99 * 3600 + 59 * 60 + 59;

// The header's 32 x 32 picture: a small alarm clock.
QPixmap headerIcon()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    const QColor rim(0x1F, 0x4E, 0x9A);
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(QRectF(3, 1, 8, 8)); // bells
    p.drawEllipse(QRectF(21, 1, 8, 8));
    p.setPen(QPen(rim, 2.5));
    p.drawLine(QPointF(9, 27), QPointF(6, 31)); // feet
    p.drawLine(QPointF(23, 27), QPointF(26, 31));

    const QRectF face(4, 4, 24, 24);
    p.setBrush(Qt::white);
    p.setPen(QPen(rim, 2.5));
    p.drawEllipse(face);

    p.setPen(QPen(Qt::darkGray, 1.2));
    const QPointF c = face.center();
    for (int hour = 0; hour < 12; hour += 3) {
        const double a = hour * std::numbers::pi / 6;
        p.drawLine(c + QPointF(std::sin(a), -std::cos(a)) * 8.5,
                   c + QPointF(std::sin(a), -std::cos(a)) * 10.5);
    }
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(0, -7.5));
    p.drawLine(c, c + QPointF(5.5, 2));
    p.setPen(QPen(Qt::red, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(-4, 7));
    return pixmap;
}

QLabel *makeLabel(const QString &text, QWidget *parent, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->adjustSize();
    label->move(left, top);
    return label;
}

QGroupBox *makeGroup(const QString &title, QWidget *parent)
{
    return new QGroupBox(title, parent);
}

SpinField *makeSpin(QWidget *parent, int maximum, const QString &designText)
{
    auto *field = new SpinField(parent);
    field->setMaximum(maximum);
    field->setText(designText);
    return field;
}

QPushButton *makeButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setCursor(Qt::PointingHandCursor);
    button->setAttribute(Qt::WA_Hover);
    // The dialog has no default button, so neither is drawn as one.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

frm_param::frm_param(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , Panel1(new QWidget(this))
    , Image1(new QLabel(Panel1))
    , Label8(new QLabel(tr("参数设置"), Panel1))
    , RzGroupBox1(makeGroup(tr("计时时长设置"), this))
    , RzSpinEdit1(makeSpin(RzGroupBox1, 99, QStringLiteral("1")))
    , Label1(makeLabel(tr("时"), RzGroupBox1, 87, 31))
    , RzSpinEdit2(makeSpin(RzGroupBox1, 59, QStringLiteral("30")))
    , Label2(makeLabel(tr("分"), RzGroupBox1, 180, 34))
    , RzSpinEdit3(makeSpin(RzGroupBox1, 59, QStringLiteral("0")))
    , Label3(makeLabel(tr("秒"), RzGroupBox1, 258, 33))
    , GroupBox1(makeGroup(tr("前景色/背景色设置"), this))
    , Label4(makeLabel(tr("前景色："), GroupBox1, 13, 36))
    , Label5(makeLabel(tr("背景色："), GroupBox1, 158, 36))
    , ColorBox2(new ColorPicker(GroupBox1))
    , ColorBox1(new ColorPicker(this))
    , GroupBox2(makeGroup(tr("显示字体大小设置"), this))
    , Label6(makeLabel(tr("字体大小："), GroupBox2, 16, 31))
    , GSFontSizeBox1(new FontSizePicker(GroupBox2))
    , GroupBox3(makeGroup(tr("计时结束播放音乐"), this))
    , Label7(makeLabel(tr("音乐文件："), GroupBox3, 16, 28))
    , FilenameEdit1(new FilenameEdit(GroupBox3))
    , Label9(new QLabel(tr("音乐提前                      秒开始播放"), GroupBox3))
    , RzSpinEdit4(makeSpin(GroupBox3, 99, QStringLiteral("0")))
    , GroupBox4(makeGroup(tr("右下角图标文件"), this))
    , CheckBox1(new QCheckBox(tr("图标文件"), GroupBox4))
    , FilenameEdit2(new FilenameEdit(GroupBox4))
    , CheckBox2(new QCheckBox(tr("显示窗体头条"), this))
    , RzBitBtn1(makeButton(tr("参数设置", "the button that saves every setting"), this))
    , RzBitBtn2(makeButton(tr("退出设置"), this))
    , CheckBox3(new QCheckBox(tr("数字自动适应窗口"), this))
    , Label10(makeLabel(tr("全屏显示器："), this, 359, 305))
    , ComboBox1(new QComboBox(this))
    , Label11(makeLabel(tr("结束时间"), RzGroupBox1, 30, 31))
    , TimeEdit1(new QTimeEdit(RzGroupBox1))
    , GroupBox5(makeGroup(tr("警示颜色"), this))
    , Label12(makeLabel(tr("剩余秒数≤"), GroupBox5, 10, 25))
    , RzSpinEdit5(makeSpin(GroupBox5, maxWarning, QStringLiteral("0")))
    , Label13(makeLabel(tr("时为"), GroupBox5, 140, 25))
    , ColorBox3(new ColorPicker(GroupBox5))
    , Label14(makeLabel(tr("剩余秒数≤"), GroupBox5, 312, 25))
    , RzSpinEdit6(makeSpin(GroupBox5, maxWarning, QStringLiteral("0")))
    , Label15(makeLabel(tr("时为"), GroupBox5, 442, 25))
    , ColorBox4(new ColorPicker(GroupBox5))
    , Label16(makeLabel(tr("超时颜色："), GroupBox5, 10, 53))
    , ColorBox5(new ColorPicker(GroupBox5))
    , CheckBox4(new QCheckBox(tr("超时数字闪烁"), GroupBox5))
    , GroupBox6(makeGroup(tr("计时方式与提醒"), this))
    , CheckBox5(new QCheckBox(tr("按结束时间计时"), GroupBox6))
    , CheckBox6(new QCheckBox(tr("数字下显示结束时间"), GroupBox6))
    , CheckBox7(new QCheckBox(tr("计时时屏幕保持常亮"), GroupBox6))
    , CheckBox8(new QCheckBox(tr("提醒音乐循环播放直到关闭提示"), GroupBox6))
    , Label17(makeLabel(tr("快速开始（分钟）："), GroupBox6, 10, 53))
    , Edit1(new QLineEdit(GroupBox6))
    , CheckBox9(new QCheckBox(tr("手机遥控"), this))
    , Label18(makeLabel(tr("端口："), this, 359, 519))
    , RzSpinEdit7(makeSpin(this, 65535, QStringLiteral("8760")))
    , m_frameWatch(new QTimer(this))
{
    setObjectName(QStringLiteral("frm_param"));
    setWindowTitle(tr("参数设置"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setSizeGripEnabled(false);
    placeControls();
    applyTabOrder();
    nameControls();

    // Design values, replaced from the settings file by FormCreate.
    ColorBox1->setDefaultColorColor(clRed);
    ColorBox1->setNoneColorColor(clRed);
    ColorBox1->setSelectedColor(clRed);
    ColorBox2->setDefaultColorColor(clBlack);
    ColorBox2->setNoneColorColor(clBlack);
    ColorBox2->setSelectedColor(clBlack);
    GSFontSizeBox1->setText(QStringLiteral("24"));
    FilenameEdit1->setFilter(QStringLiteral("mp3 (*.mp3)|*.mp3"));
    FilenameEdit2->setFilter(tr("图片文件 (*.jpg)|*.jpg|图标文件(*.ico)|*.ico"));
    FilenameEdit2->setEnabled(false);
    CheckBox2->setChecked(true);

    connect(CheckBox1, &QCheckBox::toggled, this, &frm_param::CheckBox1Click);
    connect(CheckBox3, &QCheckBox::toggled, this, &frm_param::CheckBox3Click);
    connect(CheckBox5, &QCheckBox::toggled, this, &frm_param::CheckBox5Click);
    connect(ColorBox1, &QComboBox::currentIndexChanged, this,
            [this] { ColorBox5->setDefaultColorColor(ColorBox1->selectedColor()); });
    ColorBox3->setSelectedColor(clYellow);
    ColorBox4->setSelectedColor(clRed);
    ColorBox5->setSelectedColor(StageSettings::clDefault);
    TimeEdit1->setDisplayFormat(QStringLiteral("HH:mm"));
    CheckBox7->setChecked(true);
    CheckBox5Click();
    connect(RzBitBtn1, &QPushButton::clicked, this, &frm_param::RzBitBtn1Click);
    connect(RzBitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    m_frameWatch->setInterval(framePollMs);
    connect(m_frameWatch, &QTimer::timeout, this, &frm_param::watchFrame);
    new SpinWheelRouter(this);

    // An error while loading ends the loading there; the dialog still opens.
    guarded([this] { FormCreate(); });
}

frm_param::~frm_param() = default;

void frm_param::placeControls()
{
    // The rows below the original controls add height only; everything above keeps its place.
    setFixedSize(681, 546);

    Panel1->setGeometry(0, 0, 681, 57);
    Panel1->setAutoFillBackground(true);
    QPalette headerPalette = Panel1->palette();
    headerPalette.setColor(QPalette::Window, SystemColors::toQColor(clWindow));
    Panel1->setPalette(headerPalette);
    Image1->setGeometry(19, 11, 41, 36);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(headerIcon());
    Label8->setGeometry(72, 10, 200, 39);
    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setBold(true);
    titleFont.setPixelSize(29);
    Label8->setFont(titleFont);

    RzGroupBox1->setGeometry(36, 73, 298, 60);
    RzSpinEdit1->setGeometry(30, 29, 47, 21);
    RzSpinEdit2->setGeometry(110, 28, 54, 21);
    RzSpinEdit3->setGeometry(197, 29, 47, 21);

    GroupBox1->setGeometry(35, 139, 299, 79);
    ColorBox2->setGeometry(211, 31, 82, 22);
    // Lies on the dialog itself, over the colour group beside its label.
    ColorBox1->setGeometry(98, 170, 80, 22);
    ColorBox1->raise();

    GroupBox2->setGeometry(347, 74, 302, 60);
    GSFontSizeBox1->setGeometry(82, 27, 208, 22);

    GroupBox3->setGeometry(346, 139, 305, 79);
    FilenameEdit1->setGeometry(82, 24, 211, 21);
    Label9->setGeometry(87, 52, 203, 13);
    QPalette warning = Label9->palette();
    warning.setColor(QPalette::WindowText, Qt::red);
    Label9->setPalette(warning);
    // Stands over the blank gap of the label.
    RzSpinEdit4->setGeometry(145, 48, 45, 21);
    RzSpinEdit4->raise();

    GroupBox4->setGeometry(35, 223, 300, 61);
    CheckBox1->setGeometry(10, 27, 69, 17);
    FilenameEdit2->setGeometry(81, 24, 211, 21);

    CheckBox2->setGeometry(359, 237, 97, 17);
    RzBitBtn1->setGeometry(474, 232, 75, 25);
    RzBitBtn2->setGeometry(565, 232, 75, 25);

    CheckBox3->setGeometry(45, 304, 150, 17);
    ComboBox1->setGeometry(440, 301, 209, 22);

    TimeEdit1->setGeometry(100, 28, 80, 21);

    GroupBox5->setGeometry(35, 334, 614, 82);
    RzSpinEdit5->setGeometry(80, 21, 55, 21);
    ColorBox3->setGeometry(172, 21, 110, 22);
    RzSpinEdit6->setGeometry(382, 21, 55, 21);
    ColorBox4->setGeometry(474, 21, 110, 22);
    ColorBox5->setGeometry(80, 50, 110, 22);
    CheckBox4->setGeometry(312, 52, 200, 17);

    GroupBox6->setGeometry(35, 422, 614, 82);
    CheckBox5->setGeometry(10, 24, 130, 17);
    CheckBox6->setGeometry(146, 24, 150, 17);
    CheckBox7->setGeometry(302, 24, 140, 17);
    Label17->move(10, 53);
    Edit1->setGeometry(130, 50, 200, 21);
    CheckBox8->setGeometry(346, 52, 260, 17);

    CheckBox9->setGeometry(45, 518, 150, 17);
    RzSpinEdit7->setGeometry(440, 515, 60, 21);
}

void frm_param::nameControls()
{
    // What a screen reader says for the fields, whose labels stand beside them, and for
    // the controls whose caption alone does not say what they do.
    RzSpinEdit1->setAccessibleName(tr("计时时长（时）"));
    RzSpinEdit2->setAccessibleName(tr("计时时长（分）"));
    RzSpinEdit3->setAccessibleName(tr("计时时长（秒）"));
    ColorBox1->setAccessibleName(tr("前景色"));
    ColorBox2->setAccessibleName(tr("背景色"));
    GSFontSizeBox1->setAccessibleName(tr("字体大小"));
    FilenameEdit1->setAccessibleName(tr("音乐文件"));
    RzSpinEdit4->setAccessibleName(tr("音乐提前秒数"));
    FilenameEdit2->setAccessibleName(tr("图标文件"));
    ComboBox1->setAccessibleName(tr("全屏显示器"));
    TimeEdit1->setAccessibleName(tr("结束时间"));
    RzSpinEdit5->setAccessibleName(tr("第一警示（剩余秒数）"));
    ColorBox3->setAccessibleName(tr("第一警示颜色"));
    RzSpinEdit6->setAccessibleName(tr("第二警示（剩余秒数）"));
    ColorBox4->setAccessibleName(tr("第二警示颜色"));
    ColorBox5->setAccessibleName(tr("超时颜色"));
    Edit1->setAccessibleName(tr("快速开始（分钟）"));
    RzSpinEdit7->setAccessibleName(tr("手机遥控端口"));
    // A reader on Linux names a list by its value and says the label it is labelled by.
    const std::pair<QLabel *, QWidget *> labelled[] = {
        {Label5, ColorBox2},    {Label6, GSFontSizeBox1}, {Label7, FilenameEdit1},
        {Label9, RzSpinEdit4},  {Label10, ComboBox1},     {Label11, TimeEdit1},
        {Label12, RzSpinEdit5}, {Label14, RzSpinEdit6},   {Label16, ColorBox5},
        {Label17, Edit1},       {Label18, RzSpinEdit7},
    };
    for (const auto &[label, field] : labelled)
        label->setBuddy(field);
    // The foreground box lies outside its label's group, where no relation reaches it.
    ColorBox1->setAccessibleDescription(tr("前景色"));
    CheckBox1->setAccessibleDescription(tr("在窗口右下角显示图标文件"));
    CheckBox2->setAccessibleDescription(tr("在主窗口上方显示计时时长和秒数"));
    RzBitBtn1->setAccessibleDescription(tr("把全部参数保存到设置文件"));
    RzBitBtn2->setAccessibleDescription(tr("关闭本窗口"));
}

void frm_param::applyTabOrder()
{
    QWidget *const chain[] = {
        // The end time stands in for the duration fields, first like them.
        RzSpinEdit1,    RzSpinEdit2,   RzSpinEdit3, TimeEdit1, ColorBox2,   ColorBox1,
        GSFontSizeBox1, FilenameEdit1, RzSpinEdit4, RzBitBtn1, RzBitBtn2,   CheckBox1,
        FilenameEdit2,  CheckBox2,     CheckBox3,   ComboBox1, RzSpinEdit5, ColorBox3,
        RzSpinEdit6,    ColorBox4,     ColorBox5,   CheckBox4, CheckBox5,   CheckBox6,
        CheckBox7,      Edit1,         CheckBox8,   CheckBox9, RzSpinEdit7,
    };
    for (std::size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

using SettingsSchema::Key;

void frm_param::FormCreate()
{
    const QString appDir = pub_unit::applicationDirectory();
    m_settingsFilePath = pub_unit::settingsFilePath();
    const QString &file = m_settingsFilePath;

    RzSpinEdit1->setText(SettingsSchema::read(file, Key::shi));
    RzSpinEdit2->setText(SettingsSchema::read(file, Key::feng));
    RzSpinEdit3->setText(SettingsSchema::read(file, Key::miao));
    ColorBox1->setSelectedColor(SettingsSchema::readColour(file, Key::qiancolor));
    ColorBox2->setSelectedColor(SettingsSchema::readColour(file, Key::beicolor));
    GSFontSizeBox1->setText(SettingsSchema::read(file, Key::fontsize));
    FilenameEdit1->setText(SettingsSchema::read(file, Key::mp3));
    CheckBox2->setChecked(SettingsSchema::readBoolean(file, Key::showtop));
    FilenameEdit2->setText(SettingsSchema::read(file, Key::ico));
    CheckBox1->setChecked(SettingsSchema::readBoolean(file, Key::showico));
    RzSpinEdit4->setText(SettingsSchema::read(file, Key::playtime));
    FilenameEdit1->setInitialDir(appDir);
    CheckBox3->setChecked(SettingsSchema::readBoolean(file, Key::autofit));
    fillMonitorList(SettingsSchema::readInteger(file, Key::monitor));

    RzSpinEdit5->setText(SettingsSchema::read(file, Key::warn1));
    RzSpinEdit6->setText(SettingsSchema::read(file, Key::warn2));
    ColorBox3->setSelectedColor(SettingsSchema::readColour(file, Key::warn1color));
    ColorBox4->setSelectedColor(SettingsSchema::readColour(file, Key::warn2color));
    ColorBox5->setDefaultColorColor(ColorBox1->selectedColor());
    ColorBox5->setSelectedColor(SettingsSchema::readColour(file, Key::overcolor));
    CheckBox4->setChecked(SettingsSchema::readBoolean(file, Key::overflash));
    CheckBox5->setChecked(SettingsSchema::readBoolean(file, Key::endmode));
    // A time that is not HH:MM shows the default, which a save then writes.
    const QTime end = EndTime::fromText(SettingsSchema::read(file, Key::endtime));
    TimeEdit1->setTime(
        end.isValid() ? end : EndTime::fromText(SettingsSchema::defaultValue(Key::endtime)));
    CheckBox6->setChecked(SettingsSchema::readBoolean(file, Key::showend));
    CheckBox7->setChecked(SettingsSchema::readBoolean(file, Key::keepawake));
    CheckBox8->setChecked(SettingsSchema::readBoolean(file, Key::alarmloop));
    Edit1->setText(SettingsSchema::read(file, Key::presets));
    CheckBox9->setChecked(SettingsSchema::readBoolean(file, Key::remote));
    RzSpinEdit7->setText(SettingsSchema::read(file, Key::remoteport));
}

void frm_param::fillMonitorList(std::int32_t setting)
{
    ComboBox1->clear();
    ComboBox1->addItem(MonitorChoice::automaticEntry(), 0);
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        const QScreen *screen = screens.at(i);
        const QSize pixels =
            (QSizeF(screen->geometry().size()) * screen->devicePixelRatio()).toSize();
        ComboBox1->addItem(MonitorChoice::monitorEntry(i + 1, pixels, screen->name()), i + 1);
    }
    if (setting > screens.size())
        ComboBox1->addItem(MonitorChoice::absentEntry(setting), setting);
    ComboBox1->setCurrentIndex(std::max(0, ComboBox1->findData(setting)));
}

void frm_param::keyPressEvent(QKeyEvent *event)
{
    // The dialog has no default button: Enter presses only a focused button and otherwise
    // does nothing. The dialog closes only by its exit button or close box, never by
    // Escape, which would drop the edits unasked.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            QWidget *const focused = focusWidget();
            if (focused == RzBitBtn1 || focused == RzBitBtn2)
                static_cast<QPushButton *>(focused)->click();
        }
        event->accept();
        return;
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void frm_param::showEvent(QShowEvent *event)
{
    centreOnOwner();
    QDialog::showEvent(event);
    // The window manager tells the frame's size only once it has framed the dialog, and
    // no event says when (nor that it is final): it is watched for a little while, and
    // the dialog centred again whenever it changes.
    m_framePolls = 0;
    m_frameWatch->start();
}

void frm_param::watchFrame()
{
    const QMargins margins = FrameExtents::of(this);
    const bool sane = margins.left() >= 0 && margins.top() >= 0 && margins.right() >= 0 &&
                      margins.bottom() >= 0 && margins.left() + margins.right() < width() &&
                      margins.top() + margins.bottom() < height();
    if (sane && margins != m_centredWithMargins)
        centreOnOwner();
    if (++m_framePolls >= framePollLimit)
        m_frameWatch->stop();
}

void frm_param::centreOnOwner()
{
    const QWidget *const owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    // The frames are centred on each other, not the client areas.
    m_centredWithMargins = FrameExtents::of(this);
    const QRect ownerFrame = owner->geometry().marginsAdded(FrameExtents::of(owner));
    const QSize frame = size().grownBy(m_centredWithMargins);
    const QPoint frameTopLeft(ownerFrame.left() + (ownerFrame.width() - frame.width()) / 2,
                              ownerFrame.top() + (ownerFrame.height() - frame.height()) / 2);
    // Placed by the client area, whose place does not depend on what Qt knows of the frame.
    setGeometry(QRect(
        frameTopLeft + QPoint(m_centredWithMargins.left(), m_centredWithMargins.top()), size()));
}

void frm_param::CheckBox1Click()
{
    FilenameEdit2->setEnabled(CheckBox1->isChecked());
}

void frm_param::CheckBox3Click()
{
    // The fitted size replaces the chosen one while the box is checked.
    GSFontSizeBox1->setEnabled(!CheckBox3->isChecked());
}

void frm_param::CheckBox5Click()
{
    // Counting to a time of day: the end time replaces the duration fields.
    const bool toEndTime = CheckBox5->isChecked();
    for (QWidget *field : {static_cast<QWidget *>(RzSpinEdit1), static_cast<QWidget *>(RzSpinEdit2),
                           static_cast<QWidget *>(RzSpinEdit3), static_cast<QWidget *>(Label1),
                           static_cast<QWidget *>(Label2), static_cast<QWidget *>(Label3)})
        field->setVisible(!toEndTime);
    Label11->setVisible(toEndTime);
    TimeEdit1->setVisible(toEndTime);
}

void frm_param::RzBitBtn1Click()
{
    guarded([this] {
        if (!MessageBoxes::confirm(this, MessageBoxes::saveQuestion()))
            return;
        saveSettings();
    });
}

void frm_param::saveSettings()
{
    struct Entry
    {
        Key key;
        QString value;
        QString field; // how the message names it
    };
    const Entry entries[] = {
        {Key::shi, RzSpinEdit1->text(), tr("计时时长（时）")},
        {Key::feng, RzSpinEdit2->text(), tr("计时时长（分）")},
        {Key::miao, RzSpinEdit3->text(), tr("计时时长（秒）")},
        {Key::qiancolor, SettingsSchema::valueText(Key::qiancolor, ColorBox1->selectedColor()),
         tr("前景色")},
        {Key::beicolor, SettingsSchema::valueText(Key::beicolor, ColorBox2->selectedColor()),
         tr("背景色")},
        {Key::fontsize, GSFontSizeBox1->text(), tr("字体大小")},
        {Key::mp3, FilenameEdit1->text(), tr("音乐文件")},
        {Key::ico, FilenameEdit2->text(), tr("图标文件")},
        {Key::showico, SettingsSchema::valueText(Key::showico, CheckBox1->isChecked()),
         tr("图标文件")},
        {Key::showtop, SettingsSchema::valueText(Key::showtop, CheckBox2->isChecked()),
         tr("显示窗体头条")},
        {Key::playtime, RzSpinEdit4->text(), tr("音乐提前秒数")},
        {Key::autofit, SettingsSchema::valueText(Key::autofit, CheckBox3->isChecked()),
         tr("数字自动适应窗口")},
        {Key::monitor, SettingsSchema::valueText(Key::monitor, ComboBox1->currentData().toInt()),
         tr("全屏显示器")},
        {Key::warn1, RzSpinEdit5->text(), tr("警示秒数")},
        {Key::warn2, RzSpinEdit6->text(), tr("警示秒数")},
        {Key::warn1color, SettingsSchema::valueText(Key::warn1color, ColorBox3->selectedColor()),
         tr("警示颜色")},
        {Key::warn2color, SettingsSchema::valueText(Key::warn2color, ColorBox4->selectedColor()),
         tr("警示颜色")},
        {Key::overcolor, SettingsSchema::valueText(Key::overcolor, ColorBox5->selectedColor()),
         tr("超时颜色")},
        {Key::overflash, SettingsSchema::valueText(Key::overflash, CheckBox4->isChecked()),
         tr("超时数字闪烁")},
        {Key::endmode, SettingsSchema::valueText(Key::endmode, CheckBox5->isChecked()),
         tr("按结束时间计时")},
        {Key::endtime, EndTime::toText(TimeEdit1->time()), tr("结束时间")},
        {Key::showend, SettingsSchema::valueText(Key::showend, CheckBox6->isChecked()),
         tr("数字下显示结束时间")},
        {Key::keepawake, SettingsSchema::valueText(Key::keepawake, CheckBox7->isChecked()),
         tr("计时时屏幕保持常亮")},
        {Key::alarmloop, SettingsSchema::valueText(Key::alarmloop, CheckBox8->isChecked()),
         tr("提醒音乐循环播放")},
        {Key::presets, Edit1->text(), tr("快速开始")},
        {Key::remote, SettingsSchema::valueText(Key::remote, CheckBox9->isChecked()),
         tr("手机遥控")},
        {Key::remoteport, RzSpinEdit7->text(), tr("手机遥控端口")},
    };
    // Every value is checked before the first is written, so that a value the file cannot
    // hold leaves the file as it was instead of half saved.
    for (const Entry &entry : entries) {
        if (!IniFile::canStoreValue(entry.value)) {
            throw EIniFileException(
                tr("“%1”中有不能写入设置文件的字符，设置没有保存").arg(entry.field));
        }
    }
    // A write the platform refuses throws and leaves the remaining keys unwritten.
    for (const Entry &entry : entries)
        SettingsSchema::write(m_settingsFilePath, entry.key, entry.value);
}
