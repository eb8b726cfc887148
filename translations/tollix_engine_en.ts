<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name></name>
    <message id="无法建立数据文件夹 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot create the data folder %1: %2</numerusform>
            <numerusform>Cannot create the data folder %1: %2</numerusform>
        </translation>
    </message>
    <message id="同名的文件已经存在">
        <source></source>
        <translation>a file of that name already exists</translation>
    </message>
    <message id="无法确定数据文件夹：没有设置 HOME，也没有设置 TOLLIX_HOME。">
        <source></source>
        <translation>Cannot tell where the data folder is: neither HOME nor TOLLIX_HOME is set.</translation>
    </message>
    <message id="%1年%2月%3日" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1-%2-%3</numerusform>
            <numerusform>%1-%2-%3</numerusform>
        </translation>
    </message>
    <message id="%1年%2月%3日%4点%5分" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1-%2-%3 %4:%5</numerusform>
            <numerusform>%1-%2-%3 %4:%5</numerusform>
        </translation>
    </message>
    <message id="%1小时%2分%3秒" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1h %2m %3s</numerusform>
            <numerusform>%1h %2m %3s</numerusform>
        </translation>
    </message>
    <message id="%1小时%2分" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1h %2m</numerusform>
            <numerusform>%1h %2m</numerusform>
        </translation>
    </message>
    <message id="%1小时%2秒" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1h %2s</numerusform>
            <numerusform>%1h %2s</numerusform>
        </translation>
    </message>
    <message id="%1小时" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1h</numerusform>
            <numerusform>%1h</numerusform>
        </translation>
    </message>
    <message id="%1分%2秒" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1m %2s</numerusform>
            <numerusform>%1m %2s</numerusform>
        </translation>
    </message>
    <message id="%1分" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1m</numerusform>
            <numerusform>%1m</numerusform>
        </translation>
    </message>
    <message id="%1秒" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1s</numerusform>
            <numerusform>%1s</numerusform>
        </translation>
    </message>
    <message id="无法写入文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot write the file %1: %2</numerusform>
            <numerusform>Cannot write the file %1: %2</numerusform>
        </translation>
    </message>
    <message id="无法删除文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot delete the file %1: %2</numerusform>
            <numerusform>Cannot delete the file %1: %2</numerusform>
        </translation>
    </message>
    <message id="无法读取文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot read the file %1: %2</numerusform>
            <numerusform>Cannot read the file %1: %2</numerusform>
        </translation>
    </message>
    <message id="不是普通文件">
        <source></source>
        <translation>not a regular file</translation>
    </message>
    <message id="未写入配置文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Not written to the settings file %1: %2</numerusform>
            <numerusform>Not written to the settings file %1: %2</numerusform>
        </translation>
    </message>
    <message id="名称或值含有换行符">
        <source></source>
        <translation>the name or the value contains a line break</translation>
    </message>
    <message id="节名或键名为空">
        <source></source>
        <translation>the section or key name is empty</translation>
    </message>
    <message id="键名含有 '=' 或以 '[' 或 ';' 开头">
        <source></source>
        <translation>the key name contains &apos;=&apos; or starts with &apos;[&apos; or &apos;;&apos;</translation>
    </message>
    <message id="节名或键名含有无法保存的字符">
        <source></source>
        <translation>the section or key name contains characters that cannot be saved</translation>
    </message>
    <message id="值含有无法以 GBK 保存的字符">
        <source></source>
        <translation>the value contains characters that cannot be saved in GBK</translation>
    </message>
    <message id="节名含有 ']'">
        <source></source>
        <translation>the section name contains &apos;]&apos;</translation>
    </message>
    <message id="文件夹只读">
        <source></source>
        <translation>the folder is read-only</translation>
    </message>
    <message id="没有写入权限">
        <source></source>
        <translation>no permission to write</translation>
    </message>
    <message id="磁盘已满">
        <source></source>
        <translation>the disk is full</translation>
    </message>
    <message id="你今天的用时超过%1小时了！" numerus="yes">
        <source></source>
        <translation>
            <numerusform>You have been online for more than %1 hours today!</numerusform>
            <numerusform>You have been online for more than %1 hours today!</numerusform>
        </translation>
    </message>
    <message id="你这个星期的用时超过%1小时了！" numerus="yes">
        <source></source>
        <translation>
            <numerusform>You have been online for more than %1 hours this week!</numerusform>
            <numerusform>You have been online for more than %1 hours this week!</numerusform>
        </translation>
    </message>
    <message id="你这个月的用时超过%1小时了!" numerus="yes">
        <source></source>
        <translation>
            <numerusform>You have been online for more than %1 hours this month!</numerusform>
            <numerusform>You have been online for more than %1 hours this month!</numerusform>
        </translation>
    </message>
    <message id="你今天的费用超过%1元了!" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Your costs today have passed %1 yuan!</numerusform>
            <numerusform>Your costs today have passed %1 yuan!</numerusform>
        </translation>
    </message>
    <message id="你这个星期的费用超过%1元了!" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Your costs this week have passed %1 yuan!</numerusform>
            <numerusform>Your costs this week have passed %1 yuan!</numerusform>
        </translation>
    </message>
    <message id="你这个月的费用超过%1元了!" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Your costs this month have passed %1 yuan!</numerusform>
            <numerusform>Your costs this month have passed %1 yuan!</numerusform>
        </translation>
    </message>
    <message id="数据文件夹：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Data folder: %1</numerusform>
            <numerusform>Data folder: %1</numerusform>
        </translation>
    </message>
    <message id="拨号方式：%1（演示线路）" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Dial-up backend: %1 (demo line)</numerusform>
            <numerusform>Dial-up backend: %1 (demo line)</numerusform>
        </translation>
    </message>
    <message id="拨号方式：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Dial-up backend: %1</numerusform>
            <numerusform>Dial-up backend: %1</numerusform>
        </translation>
    </message>
    <message id="NetworkManager：未使用（%1）" numerus="yes">
        <source></source>
        <translation>
            <numerusform>NetworkManager: not used (%1)</numerusform>
            <numerusform>NetworkManager: not used (%1)</numerusform>
        </translation>
    </message>
    <message id="电话簿位置：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Phonebook location: %1</numerusform>
            <numerusform>Phonebook location: %1</numerusform>
        </translation>
    </message>
    <message id="拨号网络电话簿：无法读取">
        <source></source>
        <translation>Dial-up phonebook: cannot be read</translation>
    </message>
    <message id="拨号网络电话簿：没有连接（本软件需要至少一个拨号连接）">
        <source></source>
        <translation>Dial-up phonebook: no connections (Tollix needs at least one dial-up connection)</translation>
    </message>
    <message id="拨号网络电话簿（%1 个连接）：" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Dial-up phonebook (connections: %1):</numerusform>
            <numerusform>Dial-up phonebook (connections: %1):</numerusform>
        </translation>
    </message>
    <message id="%1（%2）" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 (%2)</numerusform>
            <numerusform>%1 (%2)</numerusform>
        </translation>
    </message>
    <message id="连接状态：已连接（%1）" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Connection status: connected (%1)</numerusform>
            <numerusform>Connection status: connected (%1)</numerusform>
        </translation>
    </message>
    <message id="连接名称未知">
        <source></source>
        <translation>connection name unknown</translation>
    </message>
    <message id="连接状态：未连接">
        <source></source>
        <translation>Connection status: not connected</translation>
    </message>
    <message id="NetworkManager，%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>NetworkManager, %1</numerusform>
            <numerusform>NetworkManager, %1</numerusform>
        </translation>
    </message>
    <message id="pppd，拨号脚本">
        <source></source>
        <translation>pppd, dial-up script</translation>
    </message>
    <message id="“%1”不是演示线路电话簿中的连接，不能拨号。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>&quot;%1&quot; is not a connection in the demo line&apos;s phonebook and cannot be dialled.</numerusform>
            <numerusform>&quot;%1&quot; is not a connection in the demo line&apos;s phonebook and cannot be dialled.</numerusform>
        </translation>
    </message>
    <message id="演示线路正在使用中，请先挂断连接。">
        <source></source>
        <translation>The demo line is in use. Hang up first.</translation>
    </message>
    <message id="无法拨号“%1”：%2（%3）。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot dial &quot;%1&quot;: %2 (%3).</numerusform>
            <numerusform>Cannot dial &quot;%1&quot;: %2 (%3).</numerusform>
        </translation>
    </message>
    <message id="你没有启用这个连接的权限">
        <source></source>
        <translation>you do not have permission to activate this connection</translation>
    </message>
    <message id="这个连接已经不在 NetworkManager 中">
        <source></source>
        <translation>this connection is no longer in NetworkManager</translation>
    </message>
    <message id="没有可用的设备（调制解调器或 SIM 卡）">
        <source></source>
        <translation>no device is available (modem or SIM card)</translation>
    </message>
    <message id="NetworkManager 没有回应">
        <source></source>
        <translation>NetworkManager did not answer</translation>
    </message>
    <message id="NetworkManager 拒绝了请求">
        <source></source>
        <translation>NetworkManager refused the request</translation>
    </message>
    <message id="无法连接系统总线：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>cannot connect to the system bus: %1</numerusform>
            <numerusform>cannot connect to the system bus: %1</numerusform>
        </translation>
    </message>
    <message id="系统总线的连接断开了">
        <source></source>
        <translation>the connection to the system bus was lost</translation>
    </message>
    <message id="系统总线没有回应：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>the system bus did not answer: %1</numerusform>
            <numerusform>the system bus did not answer: %1</numerusform>
        </translation>
    </message>
    <message id="NetworkManager 没有运行">
        <source></source>
        <translation>NetworkManager is not running</translation>
    </message>
    <message id="无法拨号“%1”：%2。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot dial &quot;%1&quot;: %2.</numerusform>
            <numerusform>Cannot dial &quot;%1&quot;: %2.</numerusform>
        </translation>
    </message>
    <message id="“%1”不是拨号网络电话簿中的连接，不能拨号。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>&quot;%1&quot; is not a connection in the dial-up phonebook and cannot be dialled.</numerusform>
            <numerusform>&quot;%1&quot; is not a connection in the dial-up phonebook and cannot be dialled.</numerusform>
        </translation>
    </message>
    <message id="这个名称不是拨号网络电话簿中的连接，不能拨号。">
        <source></source>
        <translation>This name is not a connection in the dial-up phonebook and cannot be dialled.</translation>
    </message>
    <message id="%1，按流量计费" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1, metered</numerusform>
            <numerusform>%1, metered</numerusform>
        </translation>
    </message>
    <message id="你的用户名">
        <source></source>
        <translation>your-user-name</translation>
    </message>
    <message id="请让管理员把你加入 dip 组（sudo adduser %1 dip），重新登录后再使用本软件。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Ask an administrator to add you to the dip group (sudo adduser %1 dip), then log in again before using Tollix.</numerusform>
            <numerusform>Ask an administrator to add you to the dip group (sudo adduser %1 dip), then log in again before using Tollix.</numerusform>
        </translation>
    </message>
    <message id="你没有读取拨号网络电话簿（%1）的权限。%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>You do not have permission to read the dial-up phonebook (%1). %2</numerusform>
            <numerusform>You do not have permission to read the dial-up phonebook (%1). %2</numerusform>
        </translation>
    </message>
    <message id="无法读取拨号网络电话簿 %1：它不是文件夹。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot read the dial-up phonebook %1: it is not a folder.</numerusform>
            <numerusform>Cannot read the dial-up phonebook %1: it is not a folder.</numerusform>
        </translation>
    </message>
    <message id="无法读取拨号网络电话簿 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot read the dial-up phonebook %1: %2</numerusform>
            <numerusform>Cannot read the dial-up phonebook %1: %2</numerusform>
        </translation>
    </message>
    <message id="找不到拨号程序 pppd。请先安装 ppp 软件包（sudo apt install ppp）。">
        <source></source>
        <translation>The dialler pppd was not found. Install the ppp package first (sudo apt install ppp).</translation>
    </message>
    <message id="无法启动拨号程序 pppd：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot start the dialler pppd: %1</numerusform>
            <numerusform>Cannot start the dialler pppd: %1</numerusform>
        </translation>
    </message>
    <message id="你没有启动拨号程序 %1 的权限。%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>You do not have permission to start the dialler %1. %2</numerusform>
            <numerusform>You do not have permission to start the dialler %1. %2</numerusform>
        </translation>
    </message>
    <message id="无法启动拨号程序 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot start the dialler %1: %2</numerusform>
            <numerusform>Cannot start the dialler %1: %2</numerusform>
        </translation>
    </message>
    <message id="拨号程序发生了严重错误">
        <source></source>
        <translation>the dialler hit a fatal error</translation>
    </message>
    <message id="连接的设置有误，或找不到这个连接的设置文件">
        <source></source>
        <translation>the connection&apos;s settings are wrong, or its settings file is missing</translation>
    </message>
    <message id="你没有运行拨号程序 pppd 的权限">
        <source></source>
        <translation>you do not have permission to run the dialler pppd</translation>
    </message>
    <message id="系统内核不支持 PPP（没有 /dev/ppp 设备）">
        <source></source>
        <translation>the kernel does not support PPP (no /dev/ppp device)</translation>
    </message>
    <message id="拨号程序被终止了">
        <source></source>
        <translation>the dialler was stopped</translation>
    </message>
    <message id="串口被其他程序锁定了">
        <source></source>
        <translation>the serial port is locked by another program</translation>
    </message>
    <message id="无法打开调制解调器的串口">
        <source></source>
        <translation>cannot open the modem&apos;s serial port</translation>
    </message>
    <message id="拨号脚本失败（没有应答或线路忙）">
        <source></source>
        <translation>the dial-up script failed (no answer or the line is busy)</translation>
    </message>
    <message id="无法运行 pty 命令">
        <source></source>
        <translation>cannot run the pty command</translation>
    </message>
    <message id="与对方的 PPP 协商失败">
        <source></source>
        <translation>PPP negotiation with the other end failed</translation>
    </message>
    <message id="对方没有通过身份验证">
        <source></source>
        <translation>the other end failed authentication</translation>
    </message>
    <message id="连接空闲太久，已断开">
        <source></source>
        <translation>the connection was idle too long and was closed</translation>
    </message>
    <message id="连接时间到了上限">
        <source></source>
        <translation>the connection reached its time limit</translation>
    </message>
    <message id="已开始回拨">
        <source></source>
        <translation>callback has started</translation>
    </message>
    <message id="对方没有回应">
        <source></source>
        <translation>the other end stopped answering</translation>
    </message>
    <message id="调制解调器挂断了，连接中断">
        <source></source>
        <translation>the modem hung up and the connection dropped</translation>
    </message>
    <message id="线路出现回环">
        <source></source>
        <translation>the line is looped back</translation>
    </message>
    <message id="初始化脚本失败">
        <source></source>
        <translation>the initialisation script failed</translation>
    </message>
    <message id="身份验证失败（用户名或密码不对）">
        <source></source>
        <translation>authentication failed (wrong user name or password)</translation>
    </message>
    <message id="拨号程序异常终止">
        <source></source>
        <translation>the dialler ended abnormally</translation>
    </message>
    <message id="拨号程序以状态 %1 退出" numerus="yes">
        <source></source>
        <translation>
            <numerusform>the dialler exited with status %1</numerusform>
            <numerusform>the dialler exited with status %1</numerusform>
        </translation>
    </message>
    <message id="拨号“%1”失败：%2（pppd：%3）。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Dialling &quot;%1&quot; failed: %2 (pppd: %3).</numerusform>
            <numerusform>Dialling &quot;%1&quot; failed: %2 (pppd: %3).</numerusform>
        </translation>
    </message>
    <message id="拨号“%1”失败：%2。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Dialling &quot;%1&quot; failed: %2.</numerusform>
            <numerusform>Dialling &quot;%1&quot; failed: %2.</numerusform>
        </translation>
    </message>
    <message id="这是一个文件夹，不是文件">
        <source></source>
        <translation>this is a folder, not a file</translation>
    </message>
    <message id="无法写入连接记录文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot write the connection log %1: %2</numerusform>
            <numerusform>Cannot write the connection log %1: %2</numerusform>
        </translation>
    </message>
    <message id="无法读取连接记录文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot read the connection log %1: %2</numerusform>
            <numerusform>Cannot read the connection log %1: %2</numerusform>
        </translation>
    </message>
    <message id="连接记录文件 %1 的第 %2 行已损坏，文件未作改动。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Line %2 of the connection log %1 is damaged; the file was left unchanged.</numerusform>
            <numerusform>Line %2 of the connection log %1 is damaged; the file was left unchanged.</numerusform>
        </translation>
    </message>
    <message id="无法删除连接记录文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot delete the connection log %1: %2</numerusform>
            <numerusform>Cannot delete the connection log %1: %2</numerusform>
        </translation>
    </message>
    <message id="序号">
        <source></source>
        <translation>No.</translation>
    </message>
    <message id="连接名称">
        <source></source>
        <translation>Connection</translation>
    </message>
    <message id="开始时间">
        <source></source>
        <translation>Start</translation>
    </message>
    <message id="用时(秒)">
        <source></source>
        <translation>Duration (s)</translation>
    </message>
    <message id="上网费(元)">
        <source></source>
        <translation>Net fee (yuan)</translation>
    </message>
    <message id="电话费(元)">
        <source></source>
        <translation>Phone fee (yuan)</translation>
    </message>
    <message id="总费用(元)">
        <source></source>
        <translation>Total fee (yuan)</translation>
    </message>
    <message id="接收字节">
        <source></source>
        <translation>Bytes received</translation>
    </message>
    <message id="发送字节">
        <source></source>
        <translation>Bytes sent</translation>
    </message>
    <message id="合计">
        <source></source>
        <translation>Total</translation>
    </message>
    <message id="用法：tollix report [--period today|week|month|year|all] [--from 日期] [--to 日期]">
        <source></source>
        <translation>Usage: tollix report [--period today|week|month|year|all] [--from DATE] [--to DATE]</translation>
    </message>
    <message id="                    [--by day|week|month|year|connection] [--format table|csv|json]">
        <source></source>
        <translation>                     [--by day|week|month|year|connection] [--format table|csv|json]</translation>
    </message>
    <message id="不打开窗口，从使用记录存档 usage.sqlite 统计上网的用时和费用。">
        <source></source>
        <translation>Sums up time online and costs from the usage archive usage.sqlite, without opening a window.</translation>
    </message>
    <message id="统计今天、本周、本月、今年或全部的记录（默认：全部）">
        <source></source>
        <translation>count today, this week, this month, this year or everything (default: everything)</translation>
    </message>
    <message id="从这一天起（含），日期写成 YYYY-MM-DD">
        <source></source>
        <translation>from this day on (inclusive), written YYYY-MM-DD</translation>
    </message>
    <message id="到这一天止（含），日期写成 YYYY-MM-DD">
        <source></source>
        <translation>up to this day (inclusive), written YYYY-MM-DD</translation>
    </message>
    <message id="按天、周、月、年或连接名称分组合计（默认：按月）">
        <source></source>
        <translation>total by day, week, month, year or connection name (default: by month)</translation>
    </message>
    <message id="输出为表格、CSV 或 JSON（默认：表格）">
        <source></source>
        <translation>print a table, CSV or JSON (default: table)</translation>
    </message>
    <message id="显示本帮助后退出">
        <source></source>
        <translation>show this help and exit</translation>
    </message>
    <message id="每周和每月从设置中的统计重置日算起。">
        <source></source>
        <translation>Weeks and months start on the statistics reset days set in the settings.</translation>
    </message>
    <message id="无法识别的参数“%1”" numerus="yes">
        <source></source>
        <translation>
            <numerusform>unknown argument &quot;%1&quot;</numerusform>
            <numerusform>unknown argument &quot;%1&quot;</numerusform>
        </translation>
    </message>
    <message id="选项 %1 后面缺少值" numerus="yes">
        <source></source>
        <translation>
            <numerusform>option %1 needs a value</numerusform>
            <numerusform>option %1 needs a value</numerusform>
        </translation>
    </message>
    <message id="--period 只能是 today、week、month、year 或 all，不能是“%1”" numerus="yes">
        <source></source>
        <translation>
            <numerusform>--period must be today, week, month, year or all, not &quot;%1&quot;</numerusform>
            <numerusform>--period must be today, week, month, year or all, not &quot;%1&quot;</numerusform>
        </translation>
    </message>
    <message id="--by 只能是 day、week、month、year 或 connection，不能是“%1”" numerus="yes">
        <source></source>
        <translation>
            <numerusform>--by must be day, week, month, year or connection, not &quot;%1&quot;</numerusform>
            <numerusform>--by must be day, week, month, year or connection, not &quot;%1&quot;</numerusform>
        </translation>
    </message>
    <message id="--format 只能是 table、csv 或 json，不能是“%1”" numerus="yes">
        <source></source>
        <translation>
            <numerusform>--format must be table, csv or json, not &quot;%1&quot;</numerusform>
            <numerusform>--format must be table, csv or json, not &quot;%1&quot;</numerusform>
        </translation>
    </message>
    <message id="日期“%1”无效，请写成 YYYY-MM-DD，例如 2026-03-05" numerus="yes">
        <source></source>
        <translation>
            <numerusform>the date &quot;%1&quot; is not valid; write it as YYYY-MM-DD, for example 2026-03-05</numerusform>
            <numerusform>the date &quot;%1&quot; is not valid; write it as YYYY-MM-DD, for example 2026-03-05</numerusform>
        </translation>
    </message>
    <message id="--period 不能和 --from、--to 同时使用">
        <source></source>
        <translation>--period cannot be used together with --from or --to</translation>
    </message>
    <message id="开始日期晚于结束日期">
        <source></source>
        <translation>the start date is after the end date</translation>
    </message>
    <message id="时间段">
        <source></source>
        <translation>Period</translation>
    </message>
    <message id="上网次数">
        <source></source>
        <translation>Connections</translation>
    </message>
    <message id="用时">
        <source></source>
        <translation>Time online</translation>
    </message>
    <message id="统计范围：%1 至 %2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Range: %1 to %2</numerusform>
            <numerusform>Range: %1 to %2</numerusform>
        </translation>
    </message>
    <message id="统计范围：全部记录">
        <source></source>
        <translation>Range: all records</translation>
    </message>
    <message id="按目前的速度，本月预计用时 %1，费用 %2 元" numerus="yes">
        <source></source>
        <translation>
            <numerusform>At the current pace, this month will come to %1 online and %2 yuan</numerusform>
            <numerusform>At the current pace, this month will come to %1 online and %2 yuan</numerusform>
        </translation>
    </message>
    <message id="tollix report：%1。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>tollix report: %1.</numerusform>
            <numerusform>tollix report: %1.</numerusform>
        </translation>
    </message>
    <message id="请用 tollix report --help 查看用法。">
        <source></source>
        <translation>See tollix report --help for usage.</translation>
    </message>
    <message id="tollix report：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>tollix report: %1</numerusform>
            <numerusform>tollix report: %1</numerusform>
        </translation>
    </message>
    <message id="内存不足">
        <source></source>
        <translation>out of memory</translation>
    </message>
    <message id="使用记录存档出错：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Usage archive error: %1</numerusform>
            <numerusform>Usage archive error: %1</numerusform>
        </translation>
    </message>
    <message id="使用记录存档 %1出错：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Usage archive %1 error: %2</numerusform>
            <numerusform>Usage archive %1 error: %2</numerusform>
        </translation>
    </message>
    <message id="使用记录存档由较新版本的 Tollix 建立，本程序不会改动它。">
        <source></source>
        <translation>The usage archive was made by a newer version of Tollix; this version leaves it alone.</translation>
    </message>
    <message id="无法为损坏的使用记录存档找到新的文件名。">
        <source></source>
        <translation>Cannot find a new name for the damaged usage archive.</translation>
    </message>
    <message id="无法将损坏的使用记录存档 %1 改名：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot rename the damaged usage archive %1: %2</numerusform>
            <numerusform>Cannot rename the damaged usage archive %1: %2</numerusform>
        </translation>
    </message>
    <message id="使用记录存档 %1 不是普通文件，未作改动。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The usage archive %1 is not a regular file; it was left unchanged.</numerusform>
            <numerusform>The usage archive %1 is not a regular file; it was left unchanged.</numerusform>
        </translation>
    </message>
    <message id="使用记录存档 %1 无法使用。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The usage archive %1 cannot be used.</numerusform>
            <numerusform>The usage archive %1 cannot be used.</numerusform>
        </translation>
    </message>
    <message id="使用记录存档 %1 已损坏，已改名为 %2 保存，并根据连接记录重新建立了使用记录存档。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The usage archive %1 was damaged. It was kept as %2 and a new usage archive was built from the connection log.</numerusform>
            <numerusform>The usage archive %1 was damaged. It was kept as %2 and a new usage archive was built from the connection log.</numerusform>
        </translation>
    </message>
    <message id="没有找到使用记录存档 %1。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The usage archive %1 was not found.</numerusform>
            <numerusform>The usage archive %1 was not found.</numerusform>
        </translation>
    </message>
    <message id="使用记录存档 %1 是空的或不是 Tollix 的使用记录存档。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The usage archive %1 is empty or is not a Tollix usage archive.</numerusform>
            <numerusform>The usage archive %1 is empty or is not a Tollix usage archive.</numerusform>
        </translation>
    </message>
    <message id="拨号上网计时计费器">
        <source></source>
        <translation>Dial-up connection timer and cost meter</translation>
    </message>
    <message id="无法建立文件夹 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot create the folder %1: %2</numerusform>
            <numerusform>Cannot create the folder %1: %2</numerusform>
        </translation>
    </message>
    <message id="程序路径含有无法写入捷径的字符：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The program&apos;s path contains characters a shortcut cannot hold: %1</numerusform>
            <numerusform>The program&apos;s path contains characters a shortcut cannot hold: %1</numerusform>
        </translation>
    </message>
    <message id="无法保存本次连接的临时记录，如果程序此时意外退出，本次连接将无法补记。">
        <source></source>
        <translation>Cannot save the running record of this connection. If Tollix stops unexpectedly now, this connection cannot be recovered.</translation>
    </message>
    <message id="统计文件 %1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>statistics file %1</numerusform>
            <numerusform>statistics file %1</numerusform>
        </translation>
    </message>
    <message id="连接记录文件 %1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>connection log %1</numerusform>
            <numerusform>connection log %1</numerusform>
        </translation>
    </message>
    <message id="使用记录存档">
        <source></source>
        <translation>usage archive</translation>
    </message>
    <message id="%1 次已结束的连接还没有写入：" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 finished connection(s) not yet written to:</numerusform>
            <numerusform>%1 finished connection(s) not yet written to:</numerusform>
        </translation>
    </message>
    <message id="原因：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Reason: %1</numerusform>
            <numerusform>Reason: %1</numerusform>
        </translation>
    </message>
    <message id="它们保存在 %1 中，下次启动 Tollix 时会再次写入，请不要删除这个文件。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>They are kept in %1 and will be written the next time Tollix starts. Please do not delete this file.</numerusform>
            <numerusform>They are kept in %1 and will be written the next time Tollix starts. Please do not delete this file.</numerusform>
        </translation>
    </message>
    <message id="也无法保存到 %1 中，退出后它们将会丢失。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>They could not be kept in %1 either and will be lost when Tollix exits.</numerusform>
            <numerusform>They could not be kept in %1 either and will be lost when Tollix exits.</numerusform>
        </translation>
    </message>
    <message id="%1 (%2个电话)" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 (call units: %2)</numerusform>
            <numerusform>%1 (call units: %2)</numerusform>
        </translation>
    </message>
    <message id="%1元  (现在%2元/个电话)" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 yuan  (now %2 yuan/call unit)</numerusform>
            <numerusform>%1 yuan  (now %2 yuan/call unit)</numerusform>
        </translation>
    </message>
    <message id="%1元  (现在%2元/分钟)" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 yuan  (now %2 yuan/min)</numerusform>
            <numerusform>%1 yuan  (now %2 yuan/min)</numerusform>
        </translation>
    </message>
    <message id="%1 元" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1 yuan</numerusform>
            <numerusform>%1 yuan</numerusform>
        </translation>
    </message>
    <message id="上次未正常结束的连接记录已损坏，无法补记，已另存为 %1。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The record of the connection open when Tollix last stopped is damaged and cannot be recovered; it was kept as %1.</numerusform>
            <numerusform>The record of the connection open when Tollix last stopped is damaged and cannot be recovered; it was kept as %1.</numerusform>
        </translation>
    </message>
    <message id="Tollix 上次没有正常退出，当时的连接已补记到统计和历史记录中：">
        <source></source>
        <translation>Tollix did not exit normally last time. The connection open then has been added to the statistics and history:</translation>
    </message>
    <message id="连接名称：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Connection: %1</numerusform>
            <numerusform>Connection: %1</numerusform>
        </translation>
    </message>
    <message id="(无名称)">
        <source></source>
        <translation>(no name)</translation>
    </message>
    <message id="开始连接时间：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Started: %1</numerusform>
            <numerusform>Started: %1</numerusform>
        </translation>
    </message>
    <message id="持续时间：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Duration: %1</numerusform>
            <numerusform>Duration: %1</numerusform>
        </translation>
    </message>
    <message id="电话费：%1 元，入网费：%2 元" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Phone fee: %1 yuan, net fee: %2 yuan</numerusform>
            <numerusform>Phone fee: %1 yuan, net fee: %2 yuan</numerusform>
        </translation>
    </message>
    <message id="上次未能写入的连接记录现已补写到统计和历史记录中。">
        <source></source>
        <translation>The connections that could not be written last time have now been added to the statistics and history.</translation>
    </message>
    <message id="今日">
        <source></source>
        <translation>Today</translation>
    </message>
    <message id="本周">
        <source></source>
        <translation>This week</translation>
    </message>
    <message id="本月">
        <source></source>
        <translation>This month</translation>
    </message>
    <message id="总计">
        <source></source>
        <translation>All time</translation>
    </message>
    <message id="数值也已损坏，重新开始统计">
        <source></source>
        <translation>the figures were damaged too; counting starts again</translation>
    </message>
    <message id="数值都已保留，开始日期改为 %1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>all figures kept; start date set to %1</numerusform>
            <numerusform>all figures kept; start date set to %1</numerusform>
        </translation>
    </message>
    <message id="重新开始统计">
        <source></source>
        <translation>counting starts again</translation>
    </message>
    <message id="%1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1: %2</numerusform>
            <numerusform>%1: %2</numerusform>
        </translation>
    </message>
    <message id="统计文件 %1 中有记录的开始日期已损坏，已经修复：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Some start dates in the statistics file %1 were damaged and have been repaired:%2</numerusform>
            <numerusform>Some start dates in the statistics file %1 were damaged and have been repaired:%2</numerusform>
        </translation>
    </message>
    <message id="%1、%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>%1, %2</numerusform>
            <numerusform>%1, %2</numerusform>
        </translation>
    </message>
    <message id="系统时间 %1 早于统计记录的开始时间，时钟可能被调回了。%2的统计已经保留，新的连接照样计入；请检查系统的日期和时间。" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The system time %1 is earlier than the start of the statistics; the clock may have been set back. The statistics for %2 were kept and new connections are still counted. Please check the system date and time.</numerusform>
            <numerusform>The system time %1 is earlier than the start of the statistics; the clock may have been set back. The statistics for %2 were kept and new connections are still counted. Please check the system date and time.</numerusform>
        </translation>
    </message>
    <message id="没有这个统计时段">
        <source></source>
        <translation>no such statistics period</translation>
    </message>
    <message id="无法打开统计文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot open the statistics file %1: %2</numerusform>
            <numerusform>Cannot open the statistics file %1: %2</numerusform>
        </translation>
    </message>
    <message id="统计文件 %1 没有打开" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The statistics file %1 is not open</numerusform>
            <numerusform>The statistics file %1 is not open</numerusform>
        </translation>
    </message>
    <message id="统计文件中没有第 %1 条记录" numerus="yes">
        <source></source>
        <translation>
            <numerusform>The statistics file has no record %1</numerusform>
            <numerusform>The statistics file has no record %1</numerusform>
        </translation>
    </message>
    <message id="无法读取统计文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot read the statistics file %1: %2</numerusform>
            <numerusform>Cannot read the statistics file %1: %2</numerusform>
        </translation>
    </message>
    <message id="无法写入统计文件 %1：%2" numerus="yes">
        <source></source>
        <translation>
            <numerusform>Cannot write the statistics file %1: %2</numerusform>
            <numerusform>Cannot write the statistics file %1: %2</numerusform>
        </translation>
    </message>
    <message id="文件没有打开">
        <source></source>
        <translation>the file is not open</translation>
    </message>
    <message id="没有第 %1 条记录" numerus="yes">
        <source></source>
        <translation>
            <numerusform>there is no record %1</numerusform>
            <numerusform>there is no record %1</numerusform>
        </translation>
    </message>
    <message id="用法：tollix [选项]">
        <source></source>
        <translation>Usage: tollix [OPTIONS]</translation>
    </message>
    <message id="Tollix：拨号上网计时计费器。">
        <source></source>
        <translation>Tollix: a timer and cost meter for dial-up connections.</translation>
    </message>
    <message id="选项：">
        <source></source>
        <translation>Options:</translation>
    </message>
    <message id="使用模拟的演示线路，数据放在单独的文件夹里，不影响真实的统计">
        <source></source>
        <translation>use a simulated demo line; its data lives in a separate folder and leaves your real statistics alone</translation>
    </message>
    <message id="不打开窗口，显示数据文件夹、拨号方式、电话簿中的连接和当前连接状态">
        <source></source>
        <translation>show the data folder, dial-up backend, phonebook connections and connection status, without opening a window</translation>
    </message>
    <message id="不打开窗口，按天、周、月、年或连接统计用时和费用（tollix report --help）">
        <source></source>
        <translation>sum up time and costs by day, week, month, year or connection, without opening a window (tollix report --help)</translation>
    </message>
    <message id="显示版本后退出">
        <source></source>
        <translation>show the version and exit</translation>
    </message>
    <message id="环境变量：">
        <source></source>
        <translation>Environment:</translation>
    </message>
    <message id="数据文件夹（默认为 ~/.local/share/tollix）">
        <source></source>
        <translation>data folder (default: ~/.local/share/tollix)</translation>
    </message>
    <message id="在这个文件夹下读取 etc/ppp/peers、sys/class/net、run 和 proc（测试用）">
        <source></source>
        <translation>read etc/ppp/peers, sys/class/net, run and proc under this folder (for testing)</translation>
    </message>
    <message id="tollix：无法识别的选项“%1”" numerus="yes">
        <source></source>
        <translation>
            <numerusform>tollix: unknown option &quot;%1&quot;</numerusform>
            <numerusform>tollix: unknown option &quot;%1&quot;</numerusform>
        </translation>
    </message>
    <message id="请用 tollix --help 查看可用的选项。">
        <source></source>
        <translation>See tollix --help for the available options.</translation>
    </message>
    <message id="tollix：%1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>tollix: %1</numerusform>
            <numerusform>tollix: %1</numerusform>
        </translation>
    </message>
    <message id="NetworkManager 没有说明原因">
        <source></source>
        <translation>NetworkManager gave no reason</translation>
    </message>
    <message id="设备断开了（调制解调器、SIM 卡或线路有问题）">
        <source></source>
        <translation>the device disconnected (a problem with the modem, the SIM card or the line)</translation>
    </message>
    <message id="提供这个连接的服务停止了">
        <source></source>
        <translation>the service that provides this connection stopped</translation>
    </message>
    <message id="没有得到可用的 IP 地址">
        <source></source>
        <translation>no usable IP address was obtained</translation>
    </message>
    <message id="连接超时">
        <source></source>
        <translation>the connection timed out</translation>
    </message>
    <message id="提供这个连接的服务启动超时">
        <source></source>
        <translation>the service that provides this connection took too long to start</translation>
    </message>
    <message id="提供这个连接的服务无法启动">
        <source></source>
        <translation>the service that provides this connection could not start</translation>
    </message>
    <message id="缺少密码或 PIN 码">
        <source></source>
        <translation>a password or PIN is missing</translation>
    </message>
    <message id="登录失败（用户名或密码不对）">
        <source></source>
        <translation>login failed (wrong user name or password)</translation>
    </message>
    <message id="这个连接已经从 NetworkManager 中删除">
        <source></source>
        <translation>this connection has been deleted from NetworkManager</translation>
    </message>
    <message id="它所依赖的另一个连接失败了">
        <source></source>
        <translation>another connection it depends on failed</translation>
    </message>
    <message id="无法创建这个连接所需的设备">
        <source></source>
        <translation>the device this connection needs could not be created</translation>
    </message>
    <message id="设备被拔出或移除了">
        <source></source>
        <translation>the device was unplugged or removed</translation>
    </message>
    <message id="NetworkManager 给出的原因代码为 %1" numerus="yes">
        <source></source>
        <translation>
            <numerusform>NetworkManager gave reason code %1</numerusform>
            <numerusform>NetworkManager gave reason code %1</numerusform>
        </translation>
    </message>
    <message id="无法启动 PPP">
        <source></source>
        <translation>PPP could not start</translation>
    </message>
    <message id="PPP 连接断开了">
        <source></source>
        <translation>the PPP link went down</translation>
    </message>
    <message id="PPP 协商失败（可能是用户名或密码不对）">
        <source></source>
        <translation>PPP negotiation failed (perhaps a wrong user name or password)</translation>
    </message>
    <message id="线路忙">
        <source></source>
        <translation>the line is busy</translation>
    </message>
    <message id="没有拨号音">
        <source></source>
        <translation>no dial tone</translation>
    </message>
    <message id="没有载波（对方没有应答）">
        <source></source>
        <translation>no carrier (the other end did not answer)</translation>
    </message>
    <message id="拨号超时">
        <source></source>
        <translation>dialling timed out</translation>
    </message>
    <message id="调制解调器拨号失败">
        <source></source>
        <translation>the modem failed to dial</translation>
    </message>
    <message id="调制解调器初始化失败">
        <source></source>
        <translation>the modem could not be initialised</translation>
    </message>
    <message id="无法使用这个接入点（APN）">
        <source></source>
        <translation>this access point (APN) cannot be used</translation>
    </message>
    <message id="移动网络拒绝了注册">
        <source></source>
        <translation>the mobile network refused registration</translation>
    </message>
    <message id="无法注册到移动网络">
        <source></source>
        <translation>could not register with the mobile network</translation>
    </message>
    <message id="SIM 卡的 PIN 码不对">
        <source></source>
        <translation>the SIM card&apos;s PIN is wrong</translation>
    </message>
    <message id="找不到调制解调器">
        <source></source>
        <translation>no modem was found</translation>
    </message>
    <message id="蓝牙连接失败或超时">
        <source></source>
        <translation>the Bluetooth connection failed or timed out</translation>
    </message>
    <message id="没有插入 SIM 卡">
        <source></source>
        <translation>no SIM card is inserted</translation>
    </message>
    <message id="SIM 卡需要输入 PIN 码">
        <source></source>
        <translation>the SIM card needs its PIN</translation>
    </message>
    <message id="SIM 卡已锁定，需要 PUK 码">
        <source></source>
        <translation>the SIM card is locked and needs its PUK</translation>
    </message>
    <message id="SIM 卡不能用">
        <source></source>
        <translation>the SIM card cannot be used</translation>
    </message>
    <message id="ModemManager 没有运行">
        <source></source>
        <translation>ModemManager is not running</translation>
    </message>
    <message id="调制解调器出错了">
        <source></source>
        <translation>the modem reported an error</translation>
    </message>
</context>
</TS>
