<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>CommandList</name>
    <message>
        <source>退出系统</source>
        <translation>退出系統</translation>
    </message>
    <message>
        <source>开始计时</source>
        <translation>開始計時</translation>
    </message>
    <message>
        <source>暂停计时</source>
        <translation>暫停計時</translation>
    </message>
    <message>
        <source>继续计时</source>
        <translation>繼續計時</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>參數設定</translation>
    </message>
    <message>
        <source>读取参数值</source>
        <translation>讀取參數值</translation>
    </message>
    <message>
        <source>全屏显示</source>
        <translation>全螢幕顯示</translation>
    </message>
    <message>
        <source>窗口显示</source>
        <translation>視窗顯示</translation>
    </message>
    <message>
        <source>隐藏显示</source>
        <translation>隱藏顯示</translation>
    </message>
    <message>
        <source>强行终止</source>
        <translation>強制終止</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>儲存設定</translation>
    </message>
</context>
<context>
    <name>DesktopNotification</name>
    <message>
        <source>显示</source>
        <translation>顯示</translation>
    </message>
</context>
<context>
    <name>ErrorGuard</name>
    <message>
        <source>Tarvik倒计时计时器</source>
        <translation>Tarvik倒數計時器</translation>
    </message>
</context>
<context>
    <name>FilenameEdit</name>
    <message>
        <source>Browse</source>
        <translation>瀏覽</translation>
    </message>
</context>
<context>
    <name>MainFrame</name>
    <message>
        <source>Tarvik倒计时计时器  —  Tarvik 工作室出品</source>
        <translation>Tarvik倒數計時器  —  Tarvik 工作室出品</translation>
    </message>
</context>
<context>
    <name>MediaPlayerBar</name>
    <message>
        <source>音乐播放按钮</source>
        <translation>音樂播放按鈕</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>保存当前参数设置，请确认？</source>
        <translation>儲存目前的參數設定，請確認？</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>確認</translation>
    </message>
</context>
<context>
    <name>MonitorChoice</name>
    <message>
        <source>自动（窗口所在显示器）</source>
        <translation>自動（視窗所在顯示器）</translation>
    </message>
    <message>
        <source>%1: 未连接</source>
        <translation>%1: 未連線</translation>
    </message>
</context>
<context>
    <name>QuickStartMenu</name>
    <message>
        <source>快速开始</source>
        <translation>快速開始</translation>
    </message>
</context>
<context>
    <name>QuickStarts</name>
    <message>
        <source>%1 分钟</source>
        <translation>%1 分鐘</translation>
    </message>
</context>
<context>
    <name>RemoteFront</name>
    <message>
        <source>遥控二维码</source>
        <translation>遙控二維碼</translation>
    </message>
</context>
<context>
    <name>RemoteModule</name>
    <message>
        <source>找不到手机遥控的网络部分 %1</source>
        <translation>找不到手機遙控的網路部分 %1</translation>
    </message>
    <message>
        <source>手机遥控的网络部分 %1 无法载入：%2</source>
        <translation>手機遙控的網路部分 %1 無法載入：%2</translation>
    </message>
    <message>
        <source>手机遥控的网络部分 %1 与本程序不配套</source>
        <translation>手機遙控的網路部分 %1 與本程式不配套</translation>
    </message>
</context>
<context>
    <name>RemoteQrWindow</name>
    <message>
        <source>换一个</source>
        <translation>換一個</translation>
    </message>
    <message>
        <source>遥控二维码</source>
        <translation>遙控二維碼</translation>
    </message>
    <message>
        <source>观看</source>
        <translation>觀看</translation>
    </message>
    <message>
        <source>遥控</source>
        <translation>遙控</translation>
    </message>
    <message>
        <source>手机遥控无法开启：%1</source>
        <translation>手機遙控無法開啟：%1</translation>
    </message>
    <message>
        <source>同一网络中的人都能观看；只有持遥控链接的人能操作。“换一个”后旧的遥控链接失效。</source>
        <translation>同一網路中的人都能觀看；只有持遙控連結的人能操作。「換一個」後舊的遙控連結失效。</translation>
    </message>
    <message>
        <source>观看链接的二维码</source>
        <translation>觀看連結的二維碼</translation>
    </message>
    <message>
        <source>遥控链接的二维码</source>
        <translation>遙控連結的二維碼</translation>
    </message>
    <message>
        <source>换一个遥控链接，旧的链接失效</source>
        <translation>換一個遙控連結，舊的連結失效</translation>
    </message>
</context>
<context>
    <name>ScreenAwake</name>
    <message>
        <source>计时进行中</source>
        <translation>計時進行中</translation>
    </message>
</context>
<context>
    <name>SoundModule</name>
    <message>
        <source>找不到播放声音的部分 %1</source>
        <translation>找不到播放聲音的部分 %1</translation>
    </message>
    <message>
        <source>播放声音的部分 %1 无法载入：%2</source>
        <translation>播放聲音的部分 %1 無法載入：%2</translation>
    </message>
    <message>
        <source>播放声音的部分 %1 与本程序不配套</source>
        <translation>播放聲音的部分 %1 與本程式不配套</translation>
    </message>
</context>
<context>
    <name>SpinField</name>
    <message>
        <source>增加</source>
        <translation>增加</translation>
    </message>
    <message>
        <source>减少</source>
        <translation>減少</translation>
    </message>
</context>
<context>
    <name>SpokenTime</name>
    <message numerus="yes">
        <source>%n 小时</source>
        <translation>
            <numerusform>%n 小時</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 分</source>
        <translation>
            <numerusform>%n 分</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 秒</source>
        <translation>
            <numerusform>%n 秒</numerusform>
        </translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>剩餘 %1</translation>
    </message>
</context>
<context>
    <name>TarvikError</name>
    <message>
        <source>Metafile is not valid</source>
        <translation>中繼檔案無效</translation>
    </message>
    <message>
        <source>Picture is too large (%1 x %2 pixels)</source>
        <translation>圖片太大（%1 x %2 像素）</translation>
    </message>
    <message>
        <source>Icon image is not valid</source>
        <translation>圖示影像無效</translation>
    </message>
    <message>
        <source>Bitmap image is not valid</source>
        <translation>點陣圖影像無效</translation>
    </message>
    <message>
        <source>Unknown picture file extension (.%1)</source>
        <translation>不明的圖片副檔名（.%1）</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>無法開啟檔案「%1」。%2</translation>
    </message>
    <message>
        <source>Picture file is too large</source>
        <translation>圖片檔案太大</translation>
    </message>
    <message>
        <source>JPEG error #%1</source>
        <translation>JPEG 錯誤 #%1</translation>
    </message>
    <message>
        <source>Picture is too large to decode in %1 MB (%2 x %3 pixels)</source>
        <translation>圖片太大，無法在 %1 MB 內解碼（%2 x %3 像素）</translation>
    </message>
    <message>
        <source>The picture file &quot;%1&quot; could not be read within %2 seconds</source>
        <translation>圖片檔案「%1」無法在 %2 秒內讀取</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>「%1」不是有效的整數值</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid boolean value</source>
        <translation>「%1」不是有效的布林值</translation>
    </message>
    <message>
        <source>Unable to write to %1</source>
        <translation>無法寫入 %1</translation>
    </message>
    <message>
        <source>No MCI device open</source>
        <translation>沒有開啟的 MCI 裝置</translation>
    </message>
    <message>
        <source>Unknown error code</source>
        <translation>不明的錯誤碼</translation>
    </message>
    <message>
        <source>Transition is busy</source>
        <translation>轉場效果正在執行</translation>
    </message>
    <message>
        <source>Device&apos;s transition is not assigned</source>
        <translation>裝置未指定轉場效果</translation>
    </message>
    <message>
        <source>Device is not thread safe</source>
        <translation>裝置不是執行緒安全的</translation>
    </message>
    <message>
        <source>Transition is not thread safe</source>
        <translation>轉場效果不是執行緒安全的</translation>
    </message>
    <message>
        <source>The GStreamer playbin element is not installed</source>
        <translation>未安裝 GStreamer 的 playbin 元件</translation>
    </message>
    <message>
        <source>The file holds no sound</source>
        <translation>檔案中沒有聲音</translation>
    </message>
    <message>
        <source>The sound file did not become ready to play within %1 seconds</source>
        <translation>聲音檔案未能在 %1 秒內準備好播放</translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Tarvik倒计时计时器</source>
        <translation>Tarvik倒數計時器</translation>
    </message>
</context>
<context>
    <name>frm_main</name>
    <message>
        <source>时</source>
        <translation>時</translation>
    </message>
    <message>
        <source>分</source>
        <translation>分</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>保存设置</source>
        <translation>儲存設定</translation>
    </message>
    <message>
        <source>开始计时</source>
        <translation>開始計時</translation>
    </message>
    <message>
        <source>计时总秒数：</source>
        <translation>計時總秒數：</translation>
    </message>
    <message>
        <source>已过秒数：</source>
        <translation>已過秒數：</translation>
    </message>
    <message>
        <source>剩余秒数：</source>
        <translation>剩餘秒數：</translation>
    </message>
    <message>
        <source>计时时长设置</source>
        <translation>計時時長設定</translation>
    </message>
    <message>
        <source>音乐播放按钮</source>
        <translation>音樂播放按鈕</translation>
    </message>
    <message>
        <source>计时时长（时）</source>
        <translation>計時時長（時）</translation>
    </message>
    <message>
        <source>计时时长（分）</source>
        <translation>計時時長（分）</translation>
    </message>
    <message>
        <source>计时时长（秒）</source>
        <translation>計時時長（秒）</translation>
    </message>
    <message>
        <source>计时总秒数</source>
        <translation>計時總秒數</translation>
    </message>
    <message>
        <source>已过秒数</source>
        <translation>已過秒數</translation>
    </message>
    <message>
        <source>剩余秒数</source>
        <translation>剩餘秒數</translation>
    </message>
    <message>
        <source>把计时时长保存到设置文件</source>
        <translation>把計時時長儲存到設定檔</translation>
    </message>
    <message>
        <source>按保存的计时时长开始倒计时</source>
        <translation>按儲存的計時時長開始倒數</translation>
    </message>
    <message>
        <source>右下角图标</source>
        <translation>右下角圖示</translation>
    </message>
    <message>
        <source>倒计时显示</source>
        <translation>倒數計時顯示</translation>
    </message>
    <message>
        <source>计时完成提醒</source>
        <translation>計時完成提醒</translation>
    </message>
    <message>
        <source>您好，您的计时时间已经完成，谢谢使用！</source>
        <translation>您好，您的計時時間已經完成，謝謝使用！</translation>
    </message>
    <message>
        <source>结束于 %1</source>
        <translation>結束於 %1</translation>
    </message>
</context>
<context>
    <name>frm_param</name>
    <message>
        <source>参数设置</source>
        <translation>參數設定</translation>
    </message>
    <message>
        <source>计时时长设置</source>
        <translation>計時時長設定</translation>
    </message>
    <message>
        <source>时</source>
        <translation>時</translation>
    </message>
    <message>
        <source>分</source>
        <translation>分</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>秒</translation>
    </message>
    <message>
        <source>前景色/背景色设置</source>
        <translation>前景色/背景色設定</translation>
    </message>
    <message>
        <source>前景色：</source>
        <translation>前景色：</translation>
    </message>
    <message>
        <source>背景色：</source>
        <translation>背景色：</translation>
    </message>
    <message>
        <source>显示字体大小设置</source>
        <translation>顯示字型大小設定</translation>
    </message>
    <message>
        <source>字体大小：</source>
        <translation>字型大小：</translation>
    </message>
    <message>
        <source>计时结束播放音乐</source>
        <translation>計時結束播放音樂</translation>
    </message>
    <message>
        <source>音乐文件：</source>
        <translation>音樂檔案：</translation>
    </message>
    <message>
        <source>音乐提前                      秒开始播放</source>
        <translation>音樂提前                      秒開始播放</translation>
    </message>
    <message>
        <source>右下角图标文件</source>
        <translation>右下角圖示檔案</translation>
    </message>
    <message>
        <source>图标文件</source>
        <translation>圖示檔案</translation>
    </message>
    <message>
        <source>显示窗体头条</source>
        <translation>顯示視窗頭條</translation>
    </message>
    <message>
        <source>退出设置</source>
        <translation>退出設定</translation>
    </message>
    <message>
        <source>数字自动适应窗口</source>
        <translation>數字自動適應視窗</translation>
    </message>
    <message>
        <source>全屏显示器：</source>
        <translation>全屏顯示器：</translation>
    </message>
    <message>
        <source>图片文件 (*.jpg)|*.jpg|图标文件(*.ico)|*.ico</source>
        <translation>圖片檔案 (*.jpg)|*.jpg|圖示檔案(*.ico)|*.ico</translation>
    </message>
    <message>
        <source>计时时长（时）</source>
        <translation>計時時長（時）</translation>
    </message>
    <message>
        <source>计时时长（分）</source>
        <translation>計時時長（分）</translation>
    </message>
    <message>
        <source>计时时长（秒）</source>
        <translation>計時時長（秒）</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>前景色</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>背景色</translation>
    </message>
    <message>
        <source>字体大小</source>
        <translation>字型大小</translation>
    </message>
    <message>
        <source>音乐文件</source>
        <translation>音樂檔案</translation>
    </message>
    <message>
        <source>音乐提前秒数</source>
        <translation>音樂提前秒數</translation>
    </message>
    <message>
        <source>全屏显示器</source>
        <translation>全屏顯示器</translation>
    </message>
    <message>
        <source>在窗口右下角显示图标文件</source>
        <translation>在視窗右下角顯示圖示檔案</translation>
    </message>
    <message>
        <source>在主窗口上方显示计时时长和秒数</source>
        <translation>在主視窗上方顯示計時時長和秒數</translation>
    </message>
    <message>
        <source>把全部参数保存到设置文件</source>
        <translation>把全部參數儲存到設定檔</translation>
    </message>
    <message>
        <source>关闭本窗口</source>
        <translation>關閉本視窗</translation>
    </message>
    <message>
        <source>“%1”中有不能写入设置文件的字符，设置没有保存</source>
        <translation>「%1」中有不能寫入設定檔的字元，設定沒有儲存</translation>
    </message>
    <message>
        <source>参数设置</source>
        <comment>the button that saves every setting</comment>
        <translation>參數設定</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>結束時間</translation>
    </message>
    <message>
        <source>警示颜色</source>
        <translation>警示顏色</translation>
    </message>
    <message>
        <source>剩余秒数≤</source>
        <translation>剩餘秒數≤</translation>
    </message>
    <message>
        <source>时为</source>
        <translation>時為</translation>
    </message>
    <message>
        <source>超时颜色：</source>
        <translation>超時顏色：</translation>
    </message>
    <message>
        <source>超时数字闪烁</source>
        <translation>超時數字閃爍</translation>
    </message>
    <message>
        <source>计时方式与提醒</source>
        <translation>計時方式與提醒</translation>
    </message>
    <message>
        <source>按结束时间计时</source>
        <translation>按結束時間計時</translation>
    </message>
    <message>
        <source>数字下显示结束时间</source>
        <translation>數字下顯示結束時間</translation>
    </message>
    <message>
        <source>计时时屏幕保持常亮</source>
        <translation>計時時螢幕保持常亮</translation>
    </message>
    <message>
        <source>提醒音乐循环播放直到关闭提示</source>
        <translation>提醒音樂循環播放直到關閉提示</translation>
    </message>
    <message>
        <source>快速开始（分钟）：</source>
        <translation>快速開始（分鐘）：</translation>
    </message>
    <message>
        <source>手机遥控</source>
        <translation>手機遙控</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>連接埠：</translation>
    </message>
    <message>
        <source>警示秒数</source>
        <translation>警示秒數</translation>
    </message>
    <message>
        <source>超时颜色</source>
        <translation>超時顏色</translation>
    </message>
    <message>
        <source>提醒音乐循环播放</source>
        <translation>提醒音樂循環播放</translation>
    </message>
    <message>
        <source>快速开始</source>
        <translation>快速開始</translation>
    </message>
    <message>
        <source>手机遥控端口</source>
        <translation>手機遙控連接埠</translation>
    </message>
    <message>
        <source>第一警示（剩余秒数）</source>
        <translation>第一警示（剩餘秒數）</translation>
    </message>
    <message>
        <source>第一警示颜色</source>
        <translation>第一警示顏色</translation>
    </message>
    <message>
        <source>第二警示（剩余秒数）</source>
        <translation>第二警示（剩餘秒數）</translation>
    </message>
    <message>
        <source>第二警示颜色</source>
        <translation>第二警示顏色</translation>
    </message>
    <message>
        <source>快速开始（分钟）</source>
        <translation>快速開始（分鐘）</translation>
    </message>
</context>
<context>
    <name>frm_pubunit</name>
    <message>
        <source>共享单元模块</source>
        <translation>共享單元模組</translation>
    </message>
</context>
</TS>
