// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QMargins>

#include <cstdint>

class ColorPicker;
class FilenameEdit;
class FontSizePicker;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTimer;
class SpinField;

// The settings dialog: loads every key of the settings file when it is created and
// writes them all back when the user confirms the save button. It is created for each
// use, shown modally and destroyed by the main window.
class frm_param : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frm_param)

public:
    explicit frm_param(QWidget *owner);
    ~frm_param() override;

    // The settings file, computed once when the dialog is created.
    QString settingsFilePath() const { return m_settingsFilePath; }

    QWidget *const Panel1;                // white header
    QLabel *const Image1;                 // header picture
    QLabel *const Label8;                 // header title "参数设置"
    QGroupBox *const RzGroupBox1;         // "计时时长设置"
    SpinField *const RzSpinEdit1;         // hours (shi)
    QLabel *const Label1;                 // "时"
    SpinField *const RzSpinEdit2;         // minutes (feng)
    QLabel *const Label2;                 // "分"
    SpinField *const RzSpinEdit3;         // seconds (miao)
    QLabel *const Label3;                 // "秒"
    QGroupBox *const GroupBox1;           // "前景色/背景色设置"
    QLabel *const Label4;                 // "前景色："
    QLabel *const Label5;                 // "背景色："
    ColorPicker *const ColorBox2;         // background colour (beicolor)
    ColorPicker *const ColorBox1;         // digit colour (qiancolor), on the dialog over GroupBox1
    QGroupBox *const GroupBox2;           // "显示字体大小设置"
    QLabel *const Label6;                 // "字体大小："
    FontSizePicker *const GSFontSizeBox1; // display font size (fontsize)
    QGroupBox *const GroupBox3;           // "计时结束播放音乐"
    QLabel *const Label7;                 // "音乐文件："
    FilenameEdit *const FilenameEdit1;    // alarm sound file (mp3)
    QLabel *const Label9;                 // "音乐提前 … 秒开始播放", red
    SpinField *const RzSpinEdit4;         // alarm lead in seconds (playtime), over Label9
    QGroupBox *const GroupBox4;           // "右下角图标文件"
    QCheckBox *const CheckBox1;           // "图标文件": picture shown (showico); enables FilenameEdit2
    FilenameEdit *const FilenameEdit2;    // corner picture file (ico)
    QCheckBox *const CheckBox2;           // "显示窗体头条": top panel shown (showtop)
    QPushButton *const RzBitBtn1;         // "参数设置": confirm and save every key
    QPushButton *const RzBitBtn2;         // "退出设置": close without saving
    // The row under the controls above: digits that fit and the full-screen monitor.
    QCheckBox *const CheckBox3;           // "数字自动适应窗口": digits fit the display (autofit)
    QLabel *const Label10;                // "全屏显示器："
    QComboBox *const ComboBox1;           // monitor of the full screen (monitor)
    // In place of the duration fields while CheckBox5 is checked.
    QLabel *const Label11;      // "结束时间"
    QTimeEdit *const TimeEdit1; // end time (endtime)
    // Below: the warning colours, then the end time, the screen, the alarm and quick starts.
    QGroupBox *const GroupBox5;   // "警示颜色"
    QLabel *const Label12;        // "剩余秒数≤"
    SpinField *const RzSpinEdit5; // first warning (warn1)
    QLabel *const Label13;        // "时为"
    ColorPicker *const ColorBox3; // first warning colour (warn1color)
    QLabel *const Label14;        // "剩余秒数≤"
    SpinField *const RzSpinEdit6; // second warning (warn2)
    QLabel *const Label15;        // "时为"
    ColorPicker *const ColorBox4; // second warning colour (warn2color)
    QLabel *const Label16;        // "超时颜色："
    ColorPicker *const ColorBox5; // colour below zero (overcolor)
    QCheckBox *const CheckBox4;   // "超时数字闪烁" (overflash)
    QGroupBox *const GroupBox6;   // "计时方式与提醒"
    QCheckBox *const CheckBox5;   // "按结束时间计时" (endmode)
    QCheckBox *const CheckBox6;   // "数字下显示结束时间" (showend)
    QCheckBox *const CheckBox7;   // "计时时屏幕保持常亮" (keepawake)
    QCheckBox *const CheckBox8;   // "提醒音乐循环播放直到关闭提示" (alarmloop)
    QLabel *const Label17;        // "快速开始（分钟）："
    QLineEdit *const Edit1;       // quick-start presets in minutes (presets)
    // Last: the web remote.
    QCheckBox *const CheckBox9;           // "手机遥控": the web remote (remote)
    QLabel *const Label18;                // "端口："
    SpinField *const RzSpinEdit7;         // the web remote's port (remoteport)

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void CheckBox1Click();
    void CheckBox3Click();
    void CheckBox5Click();
    // One entry a monitor, as the platform lists them now; setting selects the stored one.
    void fillMonitorList(std::int32_t setting);
    void RzBitBtn1Click();
    void saveSettings();
    void placeControls();
    void nameControls();
    void applyTabOrder();
    // Centres the dialog's frame on the owner's frame.
    void centreOnOwner();
    // Centres again when the window manager has told the frame's size.
    void watchFrame();

    static constexpr int framePollMs = 25;
    static constexpr int framePollLimit = 80; // two seconds

    QString m_settingsFilePath;
    QTimer *const m_frameWatch;
    int m_framePolls = 0;
    QMargins m_centredWithMargins;
};
