<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Application</name>
    <message>
        <source>你的系统没有安装拨号网络或者安装了拨号网络，
但没有建立一个连接。请安装好拨号网络并建立一个或
以上的连接后再使用本软件。 </source>
        <translation>No dial-up connection is set up on this system.
Set up dial-up networking with at least one
connection, then start Tollix again.</translation>
    </message>
    <message>
        <source>无法建立锁文件 %1：%2。Tollix 不能启动。</source>
        <translation>Cannot create the lock file %1: %2. Tollix cannot start.</translation>
    </message>
    <message>
        <source>%1已经在运行了!</source>
        <translation>%1 is already running!</translation>
    </message>
    <message>
        <source>请检查该文件夹是否可写</source>
        <translation>please check that the folder is writable</translation>
    </message>
    <message>
        <source>%1已经在运行了!
另一个 Tollix 正在使用同一个统计文件 %2。</source>
        <translation>%1 is already running!
Another Tollix is using the same statistics file %2.</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>CSV 文件，UTF-8 (*.csv)</source>
        <translation>CSV file, UTF-8 (*.csv)</translation>
    </message>
    <message>
        <source>CSV 文件，GBK 编码，供旧版电子表格使用 (*.csv)</source>
        <translation>CSV file, GBK encoding, for older spreadsheets (*.csv)</translation>
    </message>
    <message>
        <source>导出记录</source>
        <translation>Export Log</translation>
    </message>
    <message>
        <source>上网历史记录.csv</source>
        <translation>connection-history.csv</translation>
    </message>
    <message>
        <source>导出失败，文件没有保存。</source>
        <translation>The export failed; the file was not saved.</translation>
    </message>
</context>
<context>
    <name>LateModule</name>
    <message>
        <source>找不到 %1</source>
        <translation>%1 not found</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>PrintGrid</name>
    <message>
        <source>上网历史记录</source>
        <translation>Connection History</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
    <message>
        <source>无法载入打印模块：%1。请重新安装 Tollix。</source>
        <translation>Cannot load the printing module: %1. Please reinstall Tollix.</translation>
    </message>
    <message>
        <source>你的系统中没有安装打印机，或者打印机有问题。</source>
        <translation>No printer is installed on your system, or the printer has a problem.</translation>
    </message>
</context>
<context>
    <name>ShellCommands</name>
    <message>
        <source>添加捷径到桌面</source>
        <translation>Add Desktop Shortcut</translation>
    </message>
    <message>
        <source>添加捷径到桌面吗？</source>
        <translation>Add a shortcut to the desktop?</translation>
    </message>
    <message>
        <source>添加本程序的捷径到启动组，这样程序可随时监视连网情况，确定吗?</source>
        <translation>Add a shortcut to Tollix to the startup programs, so that it always watches your connections?</translation>
    </message>
</context>
<context>
    <name>Toolbar</name>
    <message>
        <source>打印记录</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>打印当前显示的记录</source>
        <translation>Print the entries shown</translation>
    </message>
    <message>
        <source>删除记录</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>删除所有的记录</source>
        <translation>Delete all entries</translation>
    </message>
    <message>
        <source>显示帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>解答一些问题</source>
        <translation>Answers to some questions</translation>
    </message>
    <message>
        <source>返回</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>返回主窗口</source>
        <translation>Back to the main window</translation>
    </message>
    <message>
        <source>导出记录</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>把当前显示的记录存为CSV文件</source>
        <translation>Save the entries shown as a CSV file</translation>
    </message>
    <message>
        <source>用量图表</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>按日、按月查看用时和费用</source>
        <translation>Time and cost by day and by month</translation>
    </message>
    <message>
        <source>拨号上网</source>
        <translation>Dial</translation>
    </message>
    <message>
        <source>开始花钱</source>
        <translation>Start spending money</translation>
    </message>
    <message>
        <source>挂断连接</source>
        <translation>Hang Up</translation>
    </message>
    <message>
        <source>玩够了</source>
        <translation>Had enough</translation>
    </message>
    <message>
        <source>设置中心</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>设置话费,网费,报警,置零</source>
        <translation>Phone and internet fees, alerts, zeroing</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>秋后算帐</source>
        <translation>Settle the accounts</translation>
    </message>
    <message>
        <source>隐藏</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>隐藏到右下角</source>
        <translation>Hide in the notification area</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>退出Tollix</source>
        <translation>Exit Tollix</translation>
    </message>
</context>
<context>
    <name>WindowRegistry</name>
    <message>
        <source>无法载入图表模块：%1。请重新安装 Tollix。</source>
        <translation>Cannot load the charts module: %1. Please reinstall Tollix.</translation>
    </message>
</context>
<context>
    <name>tollix::AboutWindow</name>
    <message>
        <source>关于%1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>1998年11月5日</source>
        <translation>November 5, 1998</translation>
    </message>
    <message>
        <source>想给我写信请点击右边的地址</source>
        <translation>To write to me, click the address on the right</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>tollix::AlertBox</name>
    <message>
        <source>每天报警</source>
        <translation>Daily alert</translation>
    </message>
    <message>
        <source>每星期报警</source>
        <translation>Weekly alert</translation>
    </message>
    <message>
        <source>每月报警</source>
        <translation>Monthly alert</translation>
    </message>
    <message>
        <source>用时超过</source>
        <translation>Time over</translation>
    </message>
    <message>
        <source>小时</source>
        <translation>hours</translation>
    </message>
    <message>
        <source>费用超过</source>
        <translation>Cost over</translation>
    </message>
    <message>
        <source>元</source>
        <translation>yuan</translation>
    </message>
    <message>
        <source>超时后每隔</source>
        <translation>Once over, every</translation>
    </message>
    <message>
        <source>分钟播放声音文件</source>
        <translation>minutes play a sound file</translation>
    </message>
    <message>
        <source>声音文件的路径</source>
        <translation>Sound file</translation>
    </message>
    <message>
        <source>选择</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>试听</source>
        <translation>Play</translation>
    </message>
</context>
<context>
    <name>tollix::AlertPage</name>
    <message>
        <source>选择声音文件</source>
        <translation>Choose a Sound File</translation>
    </message>
    <message>
        <source>声音文件 (*.wav)</source>
        <translation>Sound files (*.wav)</translation>
    </message>
</context>
<context>
    <name>tollix::DiscountPeriodBox</name>
    <message>
        <source>折价时间段</source>
        <translation>Discount period</translation>
    </message>
    <message>
        <source>今天节假日折价</source>
        <translation>Holiday discount today</translation>
    </message>
    <message>
        <source>每天</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>星期六全天</source>
        <translation>All day Saturday</translation>
    </message>
    <message>
        <source>星期日全天</source>
        <translation>All day Sunday</translation>
    </message>
    <message>
        <source>点</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分到</source>
        <translation>min to</translation>
    </message>
    <message>
        <source>次日</source>
        <translation>next day</translation>
    </message>
    <message>
        <source>分</source>
        <translation>min</translation>
    </message>
</context>
<context>
    <name>tollix::FrmAlert</name>
    <message>
        <source>超时警告</source>
        <translation>Limit Warning</translation>
    </message>
    <message>
        <source>喂，伙计：</source>
        <translation>Hey, friend:</translation>
    </message>
    <message>
        <source>当心月底的帐单！</source>
        <translation>Watch out for the bill at the end of the month!</translation>
    </message>
    <message>
        <source>知道了，知道了</source>
        <translation>All right, all right</translation>
    </message>
    <message>
        <source>暂时关闭警告</source>
        <translation>Close the warning for now</translation>
    </message>
</context>
<context>
    <name>tollix::FrmCharts</name>
    <message>
        <source>日限额</source>
        <translation>Daily limit</translation>
    </message>
    <message>
        <source>周限额</source>
        <translation>Weekly limit</translation>
    </message>
    <message>
        <source>月限额</source>
        <translation>Monthly limit</translation>
    </message>
    <message>
        <source>用量图表</source>
        <translation>Usage Charts</translation>
    </message>
    <message>
        <source>按日显示一个月</source>
        <translation>One month by day</translation>
    </message>
    <message>
        <source>按月显示一年</source>
        <translation>One year by month</translation>
    </message>
    <message>
        <source>前一段时间</source>
        <translation>Previous period</translation>
    </message>
    <message>
        <source>后一段时间</source>
        <translation>Next period</translation>
    </message>
    <message>
        <source>所有的连接</source>
        <translation>All connections</translation>
    </message>
    <message>
        <source>用时（小时）</source>
        <translation>Time (hours)</translation>
    </message>
    <message>
        <source>费用（元）</source>
        <translation>Cost (yuan)</translation>
    </message>
    <message>
        <source>正在读取用量记录……</source>
        <translation>Reading the usage records…</translation>
    </message>
    <message>
        <source>无法读取用量记录：</source>
        <translation>Cannot read the usage records: </translation>
    </message>
    <message>
        <source>这段时间没有用量记录。</source>
        <translation>No usage records for this period.</translation>
    </message>
    <message>
        <source>这一年共有 %1 次连接的记录</source>
        <translation>%1 connections recorded this year</translation>
    </message>
    <message>
        <source>%1月</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 至 %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>%1 %2元</source>
        <translation>%1 %2 yuan</translation>
    </message>
    <message>
        <source>%1 %2小时</source>
        <translation>%1 %2 hours</translation>
    </message>
    <message>
        <source>按目前的速度，本月预计 用时%1，费用%2元</source>
        <translation>At the current rate, this month is expected to take %1 and cost %2 yuan</translation>
    </message>
    <message>
        <source>0秒</source>
        <translation>0 seconds</translation>
    </message>
    <message>
        <source>，将超过月限额%1元</source>
        <translation>, over the monthly limit of %1 yuan</translation>
    </message>
    <message>
        <source>，将超过月限额%1小时</source>
        <translation>, over the monthly limit of %1 hours</translation>
    </message>
</context>
<context>
    <name>tollix::FrmDialUp</name>
    <message>
        <source>拨号上网</source>
        <translation>Dial Up</translation>
    </message>
    <message>
        <source>请从下面选择一个连接名称：</source>
        <translation>Choose a connection below:</translation>
    </message>
    <message>
        <source>总是先显示这个连接</source>
        <translation>Always show this connection first</translation>
    </message>
    <message>
        <source>拨号</source>
        <translation>Dial</translation>
    </message>
    <message>
        <source>没有选择连接。</source>
        <translation>No connection is chosen.</translation>
    </message>
    <message>
        <source>“%1”不是拨号网络中的连接。</source>
        <translation>&quot;%1&quot; is not a dial-up connection.</translation>
    </message>
    <message>
        <source>请从列表中选择一个连接名称。</source>
        <translation> Please choose a connection from the list.</translation>
    </message>
</context>
<context>
    <name>tollix::FrmHistory</name>
    <message>
        <source>序号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>连接名称</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>开始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>用时</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>上网费(元)</source>
        <translation>Internet (yuan)</translation>
    </message>
    <message>
        <source>电话费(元)</source>
        <translation>Phone (yuan)</translation>
    </message>
    <message>
        <source>总费用(元)</source>
        <translation>Total (yuan)</translation>
    </message>
    <message>
        <source>显示所有的记录</source>
        <translation>Show all entries</translation>
    </message>
    <message>
        <source>只显示今天的记录</source>
        <translation>Show only today</translation>
    </message>
    <message>
        <source>只显示这个星期的记录</source>
        <translation>Show only this week</translation>
    </message>
    <message>
        <source>只显示这个月的记录</source>
        <translation>Show only this month</translation>
    </message>
    <message>
        <source>只显示这两个月的记录</source>
        <translation>Show only these two months</translation>
    </message>
    <message>
        <source>历史记录窗口</source>
        <translation>Connection History</translation>
    </message>
    <message>
        <source>按时间段</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>保留最后</source>
        <translation>Keep the last</translation>
    </message>
    <message>
        <source>%1条记录</source>
        <translation>%1 entries</translation>
    </message>
    <message>
        <source>仅显示%1的记录</source>
        <translation>Show only %1</translation>
    </message>
    <message>
        <source>请用文本编辑器修正或删除这一行，然后重新打开历史记录窗口。</source>
        <translation>Please correct or delete this line in a text editor, then open the history window again.</translation>
    </message>
    <message>
        <source>共有 %1 条纪录</source>
        <translation>%1 entries</translation>
    </message>
    <message>
        <source>这将把第%1条以后的记录都删除,你肯定吗?</source>
        <translation>This deletes every entry after entry %1. Are you sure?</translation>
    </message>
    <message>
        <source>你要将当前显示的纪录打印出来吗?</source>
        <translation>Print the entries shown?</translation>
    </message>
    <message>
        <source>按“确定”键开始打印,按“取消”键取消打印</source>
        <translation>Press &quot;OK&quot; to print, or &quot;Cancel&quot; to cancel.</translation>
    </message>
    <message>
        <source>你肯定要删除所有的记录吗？</source>
        <translation>Are you sure you want to delete all entries?</translation>
    </message>
</context>
<context>
    <name>tollix::FrmMain</name>
    <message>
        <source>当前状态：</source>
        <translation>Status: </translation>
    </message>
    <message>
        <source>当前系统时间：</source>
        <translation>System time: </translation>
    </message>
    <message>
        <source>无法打开统计文件，Tollix 不能继续运行。</source>
        <translation>Cannot open the statistics file; Tollix cannot go on.</translation>
    </message>
    <message>
        <source>当前状态：接通</source>
        <translation>Status: connected</translation>
    </message>
    <message>
        <source>当前状态：断开</source>
        <translation>Status: disconnected</translation>
    </message>
    <message>
        <source>已用流量：%1 MB</source>
        <translation>Data used: %1 MB</translation>
    </message>
    <message>
        <source>你要挂断当前连接吗？</source>
        <translation>Hang up the current connection?</translation>
    </message>
    <message>
        <source>已经发出挂断请求，但连接在30秒内仍未断开。请检查拨号程序（pppd）是否仍在运行。</source>
        <translation>Hang-up was requested, but the connection is still up after 30 seconds. Please check whether the dialer (pppd) is still running.</translation>
    </message>
    <message>
        <source>退出程序将丢失此次连接的资料，你确定吗?</source>
        <translation>Exiting loses the record of this connection. Are you sure?</translation>
    </message>
</context>
<context>
    <name>tollix::FrmSettings</name>
    <message>
        <source>设置中心</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>上网费设置</source>
        <translation>Internet Fees</translation>
    </message>
    <message>
        <source>电话费设置</source>
        <translation>Phone Fees</translation>
    </message>
    <message>
        <source>报警设置</source>
        <translation>Alerts</translation>
    </message>
    <message>
        <source>置零设置</source>
        <translation>Zeroing</translation>
    </message>
</context>
<context>
    <name>tollix::FrmSplash</name>
    <message>
        <source>Tollix 3.11版</source>
        <translation>Tollix 3.11</translation>
    </message>
    <message>
        <source>全中文上网计费器</source>
        <translation>Internet time and cost meter</translation>
    </message>
    <message>
        <source>（适用于拨号用户）</source>
        <translation>(for dial-up users)</translation>
    </message>
</context>
<context>
    <name>tollix::HelpWindow</name>
    <message>
        <source>Tollix 帮助</source>
        <translation>Tollix Help</translation>
    </message>
    <message>
        <source>找不到帮助文本（%1）。请重新安装 Tollix。</source>
        <translation>The help text (%1) is missing. Please reinstall Tollix.</translation>
    </message>
</context>
<context>
    <name>tollix::MainCommands</name>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>拨号上网(&amp;D)</source>
        <translation>&amp;Dial…</translation>
    </message>
    <message>
        <source>挂断连接(&amp;H)</source>
        <translation>&amp;Hang Up</translation>
    </message>
    <message>
        <source>给作者写封E-mail</source>
        <translation>E-mail the Author</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>设定(&amp;S)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>启动后自动隐藏(&amp;I)</source>
        <translation>H&amp;ide After Start</translation>
    </message>
    <message>
        <source>接通后播放声音(&amp;P)</source>
        <translation>&amp;Play Sound on Connect</translation>
    </message>
    <message>
        <source>添加捷径到启动组(&amp;T)</source>
        <translation>Start at Log&amp;in</translation>
    </message>
    <message>
        <source>添加捷径到桌面(&amp;D)</source>
        <translation>Add &amp;Desktop Shortcut</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>设置中心(&amp;E)</source>
        <translation>S&amp;ettings</translation>
    </message>
    <message>
        <source>历史记录(&amp;R)</source>
        <translation>Histo&amp;ry</translation>
    </message>
    <message>
        <source>用量图表(&amp;C)</source>
        <translation>Usage &amp;Charts</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>显示帮助(&amp;L)</source>
        <translation>Tollix He&amp;lp</translation>
    </message>
    <message>
        <source>关于Tollix V3.1(&amp;A)</source>
        <translation>&amp;About Tollix V3.1</translation>
    </message>
    <message>
        <source>连接时间</source>
        <translation>Connected time</translation>
    </message>
    <message>
        <source>拨号上网</source>
        <translation>Dial</translation>
    </message>
    <message>
        <source>挂断连接</source>
        <translation>Hang Up</translation>
    </message>
    <message>
        <source>今天折价设置</source>
        <translation>Discount Today</translation>
    </message>
    <message>
        <source>今天入网费折价</source>
        <translation>Internet Fee Discount Today</translation>
    </message>
    <message>
        <source>今天电话费折价</source>
        <translation>Phone Fee Discount Today</translation>
    </message>
    <message>
        <source>主窗口</source>
        <translation>Main Window</translation>
    </message>
    <message>
        <source>设置中心</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>历史记录</source>
        <translation>History</translation>
    </message>
    <message>
        <source>关于Tollix V3.1</source>
        <translation>About Tollix V3.1</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>tollix::NetFeePage</name>
    <message>
        <source>选取不同的连接名称可设置多个帐号</source>
        <translation>Choose another connection to set up the fees of another account</translation>
    </message>
    <message>
        <source>连接名称</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>免费</source>
        <translation>Free</translation>
    </message>
    <message>
        <source>按分钟算</source>
        <translation>Per minute</translation>
    </message>
    <message>
        <source>额定小时</source>
        <translation>Monthly hours</translation>
    </message>
    <message>
        <source>全价：</source>
        <translation>Full price:</translation>
    </message>
    <message>
        <source>元/分钟</source>
        <translation>yuan/minute</translation>
    </message>
    <message>
        <source>折价时间内为:</source>
        <translation>In the discount period:</translation>
    </message>
    <message>
        <source>每月</source>
        <translation>Each month</translation>
    </message>
    <message>
        <source>小时</source>
        <translation>hours</translation>
    </message>
    <message>
        <source>元</source>
        <translation>yuan</translation>
    </message>
    <message>
        <source>超过额定小时后</source>
        <translation>Beyond the monthly hours</translation>
    </message>
</context>
<context>
    <name>tollix::ResetPage</name>
    <message>
        <source>将今天的所有数值都变0,你肯定吗？</source>
        <translation>Set all of today&apos;s figures to 0. Are you sure?</translation>
    </message>
    <message>
        <source>将今天的数值置零</source>
        <translation>Zero Today&apos;s Figures</translation>
    </message>
    <message>
        <source>将这个星期的所有数值都变成0 , 你肯定吗？</source>
        <translation>Set all of this week&apos;s figures to 0. Are you sure?</translation>
    </message>
    <message>
        <source>将这个星期的数值置零</source>
        <translation>Zero This Week&apos;s Figures</translation>
    </message>
    <message>
        <source>将这个月的所有数值都变成0 , 你肯定吗？</source>
        <translation>Set all of this month&apos;s figures to 0. Are you sure?</translation>
    </message>
    <message>
        <source>将这个月的数值置零</source>
        <translation>Zero This Month&apos;s Figures</translation>
    </message>
    <message>
        <source>将总数的所有数值都变成0 , 你肯定吗？</source>
        <translation>Set all of the running totals to 0. Are you sure?</translation>
    </message>
    <message>
        <source>将总数的数值置零</source>
        <translation>Zero the Running Totals</translation>
    </message>
    <message>
        <source>星期日</source>
        <translation>Sunday</translation>
    </message>
    <message>
        <source>星期一</source>
        <translation>Monday</translation>
    </message>
    <message>
        <source>星期二</source>
        <translation>Tuesday</translation>
    </message>
    <message>
        <source>星期三</source>
        <translation>Wednesday</translation>
    </message>
    <message>
        <source>星期四</source>
        <translation>Thursday</translation>
    </message>
    <message>
        <source>星期五</source>
        <translation>Friday</translation>
    </message>
    <message>
        <source>星期六</source>
        <translation>Saturday</translation>
    </message>
    <message>
        <source>每个星期的</source>
        <translation>Every</translation>
    </message>
    <message>
        <source>号凌晨0点正将星期值自动置零</source>
        <translation>at midnight, start the week again from zero</translation>
    </message>
    <message>
        <source>每个月的</source>
        <translation>On day</translation>
    </message>
    <message>
        <source>号凌晨0点正将月值自动置零</source>
        <translation>of each month at midnight, start the month again from zero</translation>
    </message>
    <message>
        <source>现在将今天的值置零</source>
        <translation>Zero today now</translation>
    </message>
    <message>
        <source>现在将这个星期的值置零</source>
        <translation>Zero this week now</translation>
    </message>
    <message>
        <source>现在将这个月的值置零</source>
        <translation>Zero this month now</translation>
    </message>
    <message>
        <source>现在将不定时间段的值置零</source>
        <translation>Zero the running totals now</translation>
    </message>
    <message>
        <source>拨号成功后</source>
        <translation>The network answers</translation>
    </message>
    <message>
        <source>秒接入网络</source>
        <translation>seconds after the modem connects</translation>
    </message>
    <message>
        <source>从modem接通到网络响应有一段延迟的时间，而程序是从网络的响应开始计时的，设置这个数值会更精确地计算你的上网时间。</source>
        <translation>Some time passes between the modem connecting and the network answering, and the program starts timing when the network answers; setting this value makes your time online more exact.</translation>
    </message>
    <message>
        <source>正在连接时不能置零</source>
        <translation>The figures cannot be zeroed while a connection is up.</translation>
    </message>
    <message>
        <source>统计数值已置零，但无法写入统计文件 %1：%2</source>
        <translation>The figures were zeroed, but the statistics file %1 could not be written: %2</translation>
    </message>
</context>
<context>
    <name>tollix::SaveFailureNotice</name>
    <message>
        <source>无法保存设置到 %1：%2</source>
        <translation>Cannot save the settings to %1: %2</translation>
    </message>
</context>
<context>
    <name>tollix::SessionBox</name>
    <message>
        <source>上一次连接</source>
        <translation>Last connection</translation>
    </message>
    <message>
        <source>当前连接名称:</source>
        <translation>Connection:</translation>
    </message>
    <message>
        <source>开始连接时间:</source>
        <translation>Started:</translation>
    </message>
    <message>
        <source>至今持续时间:</source>
        <translation>Duration:</translation>
    </message>
    <message>
        <source>此次连接电话费：</source>
        <translation>Phone fee:</translation>
    </message>
    <message>
        <source>此次连接入网费:</source>
        <translation>Internet fee:</translation>
    </message>
    <message>
        <source>此次连接总费用:</source>
        <translation>Total cost:</translation>
    </message>
    <message>
        <source>本次连接</source>
        <translation>This connection</translation>
    </message>
</context>
<context>
    <name>tollix::TelFeePage</name>
    <message>
        <source>每一分钟</source>
        <translation>Every minute</translation>
    </message>
    <message>
        <source>每三分钟</source>
        <translation>Every three minutes</translation>
    </message>
    <message>
        <source>为一个电话,每个电话为</source>
        <translation>is one call unit; each unit costs</translation>
    </message>
    <message>
        <source>元</source>
        <translation>yuan</translation>
    </message>
    <message>
        <source>折价时间内每个电话为:</source>
        <translation>Each unit in the discount period:</translation>
    </message>
</context>
<context>
    <name>tollix::TotalsBox</name>
    <message>
        <source>合计</source>
        <translation>Totals</translation>
    </message>
    <message>
        <source>今天</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>这个星期</source>
        <translation>This week</translation>
    </message>
    <message>
        <source>这个月</source>
        <translation>This month</translation>
    </message>
    <message>
        <source>不定时间段</source>
        <translation>Running total</translation>
    </message>
    <message>
        <source>起算日期:</source>
        <translation>Since:</translation>
    </message>
    <message>
        <source>总耗时:</source>
        <translation>Total time:</translation>
    </message>
    <message>
        <source>上网次数:</source>
        <translation>Connections:</translation>
    </message>
    <message>
        <source>总费用:</source>
        <translation>Total cost:</translation>
    </message>
    <message>
        <source>入网费:</source>
        <translation>Internet fees:</translation>
    </message>
    <message>
        <source>电话费:</source>
        <translation>Phone fees:</translation>
    </message>
    <message>
        <source>%1 (%2个电话)</source>
        <translation>%1 (%2 call units)</translation>
    </message>
    <message>
        <source>%1次</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>%1 元</source>
        <translation>%1 yuan</translation>
    </message>
</context>
</TS>
