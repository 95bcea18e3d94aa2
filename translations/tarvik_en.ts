<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>CommandList</name>
    <message>
        <source>退出系统</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>开始计时</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>暂停计时</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>继续计时</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>读取参数值</source>
        <translation>Apply settings</translation>
    </message>
    <message>
        <source>全屏显示</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>窗口显示</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>隐藏显示</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>强行终止</source>
        <translation>End now</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>DesktopNotification</name>
    <message>
        <source>显示</source>
        <translation>Show</translation>
    </message>
</context>
<context>
    <name>ErrorGuard</name>
    <message>
        <source>Tarvik倒计时计时器</source>
        <translation>Tarvik Countdown Timer</translation>
    </message>
</context>
<context>
    <name>FilenameEdit</name>
    <message>
        <source>Browse</source>
        <translation>Browse</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Tarvik倒计时计时器  —  Tarvik 工作室出品</source>
        <translation>Tarvik Countdown Timer  —  made by Tarvik Studio</translation>
    </message>
</context>
<context>
    <name>MediaPlayerBar</name>
    <message>
        <source>音乐播放按钮</source>
        <translation>Music player buttons</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>保存当前参数设置，请确认？</source>
        <translation>Save the current settings?</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>Confirm</translation>
    </message>
</context>
<context>
    <name>MonitorChoice</name>
    <message>
        <source>自动（窗口所在显示器）</source>
        <translation>Automatic (window&apos;s monitor)</translation>
    </message>
    <message>
        <source>%1: 未连接</source>
        <translation>%1: not connected</translation>
    </message>
</context>
<context>
    <name>QuickStartMenu</name>
    <message>
        <source>快速开始</source>
        <translation>Quick start</translation>
    </message>
</context>
<context>
    <name>QuickStarts</name>
    <message>
        <source>%1 分钟</source>
        <translation>%1 min</translation>
    </message>
</context>
<context>
    <name>RemoteFront</name>
    <message>
        <source>遥控二维码</source>
        <translation>Remote QR codes</translation>
    </message>
</context>
<context>
    <name>RemoteModule</name>
    <message>
        <source>找不到手机遥控的网络部分 %1</source>
        <translation>The phone remote&apos;s network part is missing: %1</translation>
    </message>
    <message>
        <source>手机遥控的网络部分 %1 无法载入：%2</source>
        <translation>The phone remote&apos;s network part %1 cannot be loaded: %2</translation>
    </message>
    <message>
        <source>手机遥控的网络部分 %1 与本程序不配套</source>
        <translation>The phone remote&apos;s network part %1 does not match this program</translation>
    </message>
</context>
<context>
    <name>RemoteQrWindow</name>
    <message>
        <source>换一个</source>
        <translation>New link</translation>
    </message>
    <message>
        <source>遥控二维码</source>
        <translation>Remote QR codes</translation>
    </message>
    <message>
        <source>观看</source>
        <translation>View</translation>
    </message>
    <message>
        <source>遥控</source>
        <translation>Control</translation>
    </message>
    <message>
        <source>手机遥控无法开启：%1</source>
        <translation>The phone remote cannot start: %1</translation>
    </message>
    <message>
        <source>同一网络中的人都能观看；只有持遥控链接的人能操作。“换一个”后旧的遥控链接失效。</source>
        <translation>Anyone on the same network can view; only holders of the control link can operate. After “New link” the old control link stops working.</translation>
    </message>
    <message>
        <source>观看链接的二维码</source>
        <translation>QR code of the view link</translation>
    </message>
    <message>
        <source>遥控链接的二维码</source>
        <translation>QR code of the control link</translation>
    </message>
    <message>
        <source>换一个遥控链接，旧的链接失效</source>
        <translation>Makes a new control link; the old one stops working</translation>
    </message>
</context>
<context>
    <name>ScreenAwake</name>
    <message>
        <source>计时进行中</source>
        <translation>Countdown running</translation>
    </message>
</context>
<context>
    <name>SoundModule</name>
    <message>
        <source>找不到播放声音的部分 %1</source>
        <translation>The sound playing part is missing: %1</translation>
    </message>
    <message>
        <source>播放声音的部分 %1 无法载入：%2</source>
        <translation>The sound playing part %1 cannot be loaded: %2</translation>
    </message>
    <message>
        <source>播放声音的部分 %1 与本程序不配套</source>
        <translation>The sound playing part %1 does not match this program</translation>
    </message>
</context>
<context>
    <name>SpinField</name>
    <message>
        <source>增加</source>
        <translation>Increase</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>Decrease</translation>
    </message>
</context>
<context>
    <name>SpokenTime</name>
    <message numerus="yes">
        <source>%n 小时</source>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 分</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 秒</source>
        <translation>
            <numerusform>%n second</numerusform>
            <numerusform>%n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>%1 remaining</translation>
    </message>
</context>
<context>
    <name>TarvikError</name>
    <message>
        <source>Metafile is not valid</source>
        <translation>Metafile is not valid</translation>
    </message>
    <message>
        <source>Picture is too large (%1 x %2 pixels)</source>
        <translation>Picture is too large (%1 x %2 pixels)</translation>
    </message>
    <message>
        <source>Icon image is not valid</source>
        <translation>Icon image is not valid</translation>
    </message>
    <message>
        <source>Bitmap image is not valid</source>
        <translation>Bitmap image is not valid</translation>
    </message>
    <message>
        <source>Unknown picture file extension (.%1)</source>
        <translation>Unknown picture file extension (.%1)</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>Cannot open file &quot;%1&quot;. %2</translation>
    </message>
    <message>
        <source>Picture file is too large</source>
        <translation>Picture file is too large</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <translation>JPEG error #%1</translation>
    </message>
    <message>
        <source>Picture is too large to decode in %1 MB (%2 x %3 pixels)</source>
        <translation>Picture is too large to decode in %1 MB (%2 x %3 pixels)</translation>
    </message>
    <message>
        <source>The picture file &quot;%1&quot; could not be read within %2 seconds</source>
        <translation>The picture file &quot;%1&quot; could not be read within %2 seconds</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid boolean value</source>
        <translation>&apos;%1&apos; is not a valid boolean value</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>Unable to write to %1</translation>
    </message>
    <message>
        <source>No MCI device open</source>
        <translation>No MCI device open</translation>
    </message>
    <message>
        <source>Unknown error code</source>
        <translation>Unknown error code</translation>
    </message>
    <message>
        <source>Transition is busy</source>
        <translation>Transition is busy</translation>
    </message>
    <message>
        <source>Device&apos;s transition is not assigned</source>
        <translation>Device&apos;s transition is not assigned</translation>
    </message>
    <message>
        <source>Device is not thread safe</source>
        <translation>Device is not thread safe</translation>
    </message>
    <message>
        <source>Transition is not thread safe</source>
        <translation>Transition is not thread safe</translation>
    </message>
    <message>
        <source>The GStreamer playbin element is not installed</source>
        <translation>The GStreamer playbin element is not installed</translation>
    </message>
    <message>
        <source>The file holds no sound</source>
        <translation>The file holds no sound</translation>
    </message>
    <message>
        <source>The sound file did not become ready to play within %1 seconds</source>
        <translation>The sound file did not become ready to play within %1 seconds</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Tarvik倒计时计时器</source>
        <translation>Tarvik Countdown Timer</translation>
    </message>
</context>
<context>
    <name>frm_main</name>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>开始计时</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>计时总秒数：</source>
        <translation>Total s:</translation>
    </message>
    <message>
        <source>已过秒数：</source>
        <translation>Elapsed:</translation>
    </message>
    <message>
        <source>剩余秒数：</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>计时时长设置</source>
        <translation>Countdown duration</translation>
    </message>
    <message>
        <source>音乐播放按钮</source>
        <translation>Music player buttons</translation>
    </message>
    <message>
        <source>计时时长（时）</source>
        <translation>Duration (hours)</translation>
    </message>
    <message>
        <source>计时时长（分）</source>
        <translation>Duration (minutes)</translation>
    </message>
    <message>
        <source>计时时长（秒）</source>
        <translation>Duration (seconds)</translation>
    </message>
    <message>
        <source>计时总秒数</source>
        <translation>Total seconds</translation>
    </message>
    <message>
        <source>已过秒数</source>
        <translation>Elapsed seconds</translation>
    </message>
    <message>
        <source>剩余秒数</source>
        <translation>Remaining seconds</translation>
    </message>
    <message>
        <source>把计时时长保存到设置文件</source>
        <translation>Saves the duration to the settings file</translation>
    </message>
    <message>
        <source>按保存的计时时长开始倒计时</source>
        <translation>Starts counting down from the saved duration</translation>
    </message>
    <message>
        <source>右下角图标</source>
        <translation>Corner picture</translation>
    </message>
    <message>
        <source>倒计时显示</source>
        <translation>Countdown display</translation>
    </message>
    <message>
        <source>计时完成提醒</source>
        <translation>Time is up</translation>
    </message>
    <message>
        <source>您好，您的计时时间已经完成，谢谢使用！</source>
        <translation>Hello, your countdown has finished. Thank you!</translation>
    </message>
    <message>
        <source>结束于 %1</source>
        <translation>Ends at %1</translation>
    </message>
</context>
<context>
    <name>frm_param</name>
    <message>
        <source>参数设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>计时时长设置</source>
        <translation>Countdown duration</translation>
    </message>
    <message>
        <source>时</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>前景色/背景色设置</source>
        <translation>Text and background colours</translation>
    </message>
    <message>
        <source>前景色：</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>背景色：</source>
        <translation>Back:</translation>
    </message>
    <message>
        <source>显示字体大小设置</source>
        <translation>Display font size</translation>
    </message>
    <message>
        <source>字体大小：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>计时结束播放音乐</source>
        <translation>Music at the end</translation>
    </message>
    <message>
        <source>音乐文件：</source>
        <translation>Music:</translation>
    </message>
    <message>
        <source>音乐提前                      秒开始播放</source>
        <translation>Play                          s before end</translation>
    </message>
    <message>
        <source>右下角图标文件</source>
        <translation>Corner picture</translation>
    </message>
    <message>
        <source>图标文件</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>显示窗体头条</source>
        <translation>Top panel</translation>
    </message>
    <message>
        <source>退出设置</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>数字自动适应窗口</source>
        <translation>Fit digits to window</translation>
    </message>
    <message>
        <source>全屏显示器：</source>
        <translation>Monitor:</translation>
    </message>
    <message>
        <source>图片文件 (*.jpg)|*.jpg|图标文件(*.ico)|*.ico</source>
        <translation>Pictures (*.jpg)|*.jpg|Icons (*.ico)|*.ico</translation>
    </message>
    <message>
        <source>计时时长（时）</source>
        <translation>Duration (hours)</translation>
    </message>
    <message>
        <source>计时时长（分）</source>
        <translation>Duration (minutes)</translation>
    </message>
    <message>
        <source>计时时长（秒）</source>
        <translation>Duration (seconds)</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Text colour</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>字体大小</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>音乐文件</source>
        <translation>Music file</translation>
    </message>
    <message>
        <source>音乐提前秒数</source>
        <translation>Music lead (seconds)</translation>
    </message>
    <message>
        <source>全屏显示器</source>
        <translation>Full-screen monitor</translation>
    </message>
    <message>
        <source>在窗口右下角显示图标文件</source>
        <translation>Shows the picture file in the lower right corner</translation>
    </message>
    <message>
        <source>在主窗口上方显示计时时长和秒数</source>
        <translation>Shows the duration and the seconds counters at the top of the main window</translation>
    </message>
    <message>
        <source>把全部参数保存到设置文件</source>
        <translation>Saves every setting to the settings file</translation>
    </message>
    <message>
        <source>关闭本窗口</source>
        <translation>Closes this window</translation>
    </message>
    <message>
        <source>“%1”中有不能写入设置文件的字符，设置没有保存</source>
        <translation>“%1” holds characters the settings file cannot store; nothing was saved</translation>
    </message>
    <message>
        <source>参数设置</source>
        <comment>the button that saves every setting</comment>
        <translation>Save</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>警示颜色</source>
        <translation>Warning colours</translation>
    </message>
    <message>
        <source>剩余秒数≤</source>
        <translation>Left ≤</translation>
    </message>
    <message>
        <source>时为</source>
        <translation>s:</translation>
    </message>
    <message>
        <source>超时颜色：</source>
        <translation>Overtime:</translation>
    </message>
    <message>
        <source>超时数字闪烁</source>
        <translation>Blink in overtime</translation>
    </message>
    <message>
        <source>计时方式与提醒</source>
        <translation>Counting and reminders</translation>
    </message>
    <message>
        <source>按结束时间计时</source>
        <translation>Count to end time</translation>
    </message>
    <message>
        <source>数字下显示结束时间</source>
        <translation>Show end time</translation>
    </message>
    <message>
        <source>计时时屏幕保持常亮</source>
        <translation>Keep screen on</translation>
    </message>
    <message>
        <source>提醒音乐循环播放直到关闭提示</source>
        <translation>Repeat music until the message closes</translation>
    </message>
    <message>
        <source>快速开始（分钟）：</source>
        <translation>Quick starts (min):</translation>
    </message>
    <message>
        <source>手机遥控</source>
        <translation>Phone remote</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>警示秒数</source>
        <translation>Warning seconds</translation>
    </message>
    <message>
        <source>超时颜色</source>
        <translation>Overtime colour</translation>
    </message>
    <message>
        <source>提醒音乐循环播放</source>
        <translation>Repeat the music</translation>
    </message>
    <message>
        <source>快速开始</source>
        <translation>Quick starts</translation>
    </message>
    <message>
        <source>手机遥控端口</source>
        <translation>Phone remote port</translation>
    </message>
    <message>
        <source>第一警示（剩余秒数）</source>
        <translation>First warning (seconds left)</translation>
    </message>
    <message>
        <source>第一警示颜色</source>
        <translation>First warning colour</translation>
    </message>
    <message>
        <source>第二警示（剩余秒数）</source>
        <translation>Second warning (seconds left)</translation>
    </message>
    <message>
        <source>第二警示颜色</source>
        <translation>Second warning colour</translation>
    </message>
    <message>
        <source>快速开始（分钟）</source>
        <translation>Quick starts (minutes)</translation>
    </message>
</context>
<context>
    <name>frm_pubunit</name>
    <message>
        <source>共享单元模块</source>
        <translation>Shared unit</translation>
    </message>
</context>
</TS>
