<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>DialogHistory</name>
    <message>
        <source>No snapshot of this controller's setup has been taken yet.</source>
        <translation>尚未保存过此飞控设置的快照。</translation>
    </message>
    <message>
        <source>Snapshots of this controller's setup, newest first. Select one to see what restoring it would change.</source>
        <translation>此飞控设置的快照，最新的在前。选择一个快照，查看恢复它会改变哪些数值。</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>原因</translation>
    </message>
    <message>
        <source>Differences</source>
        <translation>不同项</translation>
    </message>
    <message>
        <source>Snapshot</source>
        <translation>快照</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>连接时</translation>
    </message>
    <message>
        <source>Before Save</source>
        <translation>保存前</translation>
    </message>
    <message>
        <source>Before Default</source>
        <translation>恢复默认前</translation>
    </message>
    <message>
        <source>Before loading a file</source>
        <translation>载入文件前</translation>
    </message>
    <message>
        <source>Before a firmware update</source>
        <translation>固件升级前</translation>
    </message>
    <message>
        <source>Board unknown</source>
        <translation>飞控未知</translation>
    </message>
    <message>
        <source>Kept before controllers of one model were told apart: maybe of this board, maybe of another.</source>
        <translation>在区分同型号的各个飞控之前保存：可能属于这个飞控，也可能属于另一个。</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>CliApp</name>
    <message>
        <source>Try '%1 --help'.</source>
        <translation>请运行“%1 --help”查看用法。</translation>
    </message>
    <message>
        <source>done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>differences found (diff, or a read-back that differs after restore)</source>
        <translation>发现差异（diff，或 restore 之后回读的值不同）</translation>
    </message>
    <message>
        <source>usage: the command line is wrong</source>
        <translation>用法错误：命令行有误</translation>
    </message>
    <message>
        <source>no controller answered, or the link was lost past the time limit (--timeout)</source>
        <translation>没有飞控应答，或连接中断超过时限（--timeout）</translation>
    </message>
    <message>
        <source>bad file: nothing was sent</source>
        <translation>文件无效：未发送任何内容</translation>
    </message>
    <message>
        <source>refused: another board, or the same version, without --force</source>
        <translation>已拒绝：其他型号的固件或相同版本，且未指定 --force</translation>
    </message>
    <message>
        <source>update failed: the controller stays in its bootloader; run flash again</source>
        <translation>升级失败：飞控停留在引导程序中；请再次运行 flash</translation>
    </message>
    <message>
        <source>the controller is in use by another ORVANTE program</source>
        <translation>飞控正被另一个 ORVANTE 程序使用</translation>
    </message>
    <message>
        <source>Exit codes:</source>
        <translation>退出码：</translation>
    </message>
    <message>
        <source>Talks to the flight controller from a terminal or a script.</source>
        <translation>在终端或脚本中与飞控通信。</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>命令：</translation>
    </message>
    <message>
        <source>Seconds without any answer before the link counts as lost (default %1).</source>
        <translation>连续多少秒没有应答即视为连接中断（默认 %1）。</translation>
    </message>
    <message>
        <source>seconds</source>
        <translation>秒数</translation>
    </message>
    <message>
        <source>Write the link's diagnostic lines to standard error.</source>
        <translation>将连接的诊断信息写到标准错误输出。</translation>
    </message>
    <message>
        <source>What to do: one of the commands above.</source>
        <translation>要执行的操作：上面列出的命令之一。</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>没有指定命令</translation>
    </message>
    <message>
        <source>unknown command '%1'</source>
        <translation>未知命令“%1”</translation>
    </message>
    <message>
        <source>--%1 is not an option of %2</source>
        <translation>--%1 不是 %2 的选项</translation>
    </message>
    <message>
        <source>usage: %1 %2</source>
        <translation>用法：%1 %2</translation>
    </message>
    <message>
        <source>--timeout takes a number of seconds above 0</source>
        <translation>--timeout 需要大于 0 的秒数</translation>
    </message>
    <message>
        <source>The controller&apos;s device node (e.g. /dev/hidraw3) when several are plugged in; else the first one found.</source>
        <translation>插入了多个飞控时，指定飞控的设备节点（例如 /dev/hidraw3）；否则使用找到的第一个。</translation>
    </message>
    <message>
        <source>path</source>
        <translation>路径</translation>
    </message>
    <message>
        <source>the output could not be written (standard output or a file)</source>
        <translation>无法写入输出（标准输出或文件）</translation>
    </message>
</context>
<context>
    <name>CliSession</name>
    <message>
        <source>the controller is in use by ORVANTE (process %1)</source>
        <translation>飞控正被 ORVANTE 使用（进程 %1）</translation>
    </message>
    <message>
        <source>the controller is in use by another ORVANTE program</source>
        <translation>飞控正被另一个 ORVANTE 程序使用</translation>
    </message>
    <message>
        <source>the controller stopped answering (no answer for %1 s)</source>
        <translation>飞控停止应答（%1 秒没有应答）</translation>
    </message>
    <message>
        <source>a controller answered, but ORVANTE does not support its board (%1)</source>
        <translation>有飞控应答，但 ORVANTE 不支持该型号（%1）</translation>
    </message>
    <message>
        <source>no controller answered within %1 s</source>
        <translation>%1 秒内没有飞控应答</translation>
    </message>
</context>
<context>
    <name>CommandFlash</name>
    <message>
        <source>Updating... %1% (%2/%3 blocks)</source>
        <translation>正在升级... %1%（%2/%3 块）</translation>
    </message>
    <message>
        <source>[%1%2] %3% %4/%5 blocks, %6 left</source>
        <translation>[%1%2] %3% %4/%5 块，剩余 %6</translation>
    </message>
    <message>
        <source>check FILE and write it to the controller through its bootloader</source>
        <translation>检查 FILE，并通过引导程序将其写入飞控</translation>
    </message>
    <message>
        <source>Write another board's firmware, or the version already installed.</source>
        <translation>写入其他型号的固件，或已安装的相同版本。</translation>
    </message>
    <message>
        <source>not a file</source>
        <translation>不是文件</translation>
    </message>
    <message>
        <source>not a firmware file (its header does not start with 12 34 AB CD)</source>
        <translation>不是固件文件（文件头不是以 12 34 AB CD 开始）</translation>
    </message>
    <message>
        <source>the version word in the header is not valid</source>
        <translation>文件头中的版本字无效</translation>
    </message>
    <message>
        <source>the file holds no image</source>
        <translation>文件中没有固件映像</translation>
    </message>
    <message>
        <source>the image is longer than the file</source>
        <translation>固件映像长度超出文件</translation>
    </message>
    <message>
        <source>the image length is not a multiple of 2048 bytes</source>
        <translation>固件映像长度不是 2048 字节的整数倍</translation>
    </message>
    <message>
        <source>the file is larger than 16 MiB</source>
        <translation>文件大于 16 MiB</translation>
    </message>
    <message>
        <source>refused (%1)</source>
        <translation>已拒绝（%1）</translation>
    </message>
    <message>
        <source>the controller already runs this firmware (%1); --force writes it again</source>
        <translation>飞控已在运行此固件（%1）；使用 --force 可再次写入</translation>
    </message>
    <message>
        <source>this firmware is for %1, but the controller is %2; another board's firmware can make it unusable (--force writes it all the same)</source>
        <translation>此固件适用于 %1，但飞控是 %2；其他型号的固件可能使飞控无法使用（使用 --force 仍可写入）</translation>
    </message>
    <message>
        <source>Writing %1 (%2 blocks) to %3</source>
        <translation>正在将 %1（%2 块）写入 %3</translation>
    </message>
    <message>
        <source>The controller runs %1.</source>
        <translation>飞控正在运行 %1。</translation>
    </message>
    <message>
        <source>the controller's verify answer differs from the file's check value; the controller stays in its bootloader: run the same flash command again</source>
        <translation>飞控的校验结果与文件的校验值不符；飞控停留在引导程序中：请再次运行同一条 flash 命令</translation>
    </message>
    <message>
        <source>the update did not finish and the controller may be left in its bootloader: run the same flash command again</source>
        <translation>升级没有完成，飞控可能停留在引导程序中：请再次运行同一条 flash 命令</translation>
    </message>
    <message>
        <source>the update made no progress for %1 s and was given up; the controller stays in its bootloader: check the cable, then run the same flash command again</source>
        <translation>升级 %1 秒没有进展，已放弃；飞控停留在引导程序中：请检查连接线，然后再次运行同一条 flash 命令</translation>
    </message>
</context>
<context>
    <name>CommandInfo</name>
    <message>
        <source>board, version, mode (firmware or bootloader) and self-test</source>
        <translation>飞控型号、版本、模式（固件或引导程序）和自检结果</translation>
    </message>
    <message>
        <source>Write JSON instead of text.</source>
        <translation>以 JSON 代替文本输出。</translation>
    </message>
    <message>
        <source>flight firmware</source>
        <translation>飞行固件</translation>
    </message>
    <message>
        <source>bootloader</source>
        <translation>引导程序</translation>
    </message>
    <message>
        <source>unknown (%1)</source>
        <translation>未知（%1）</translation>
    </message>
    <message>
        <source>board:     %1</source>
        <translation>型号：%1</translation>
    </message>
    <message>
        <source>mode:      %1</source>
        <translation>模式：%1</translation>
    </message>
    <message>
        <source>self-test: %1 %2</source>
        <translation>自检：%1 %2</translation>
    </message>
    <message>
        <source>serial:    %1</source>
        <translation>序列号：%1</translation>
    </message>
    <message>
        <source>device:    %1</source>
        <translation>设备：%1</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>CommandRecord</name>
    <message>
        <source>record the scope channels as CSV (standard output, or --csv FILE) until Ctrl-C</source>
        <translation>将示波器通道记录为 CSV（标准输出，或 --csv FILE），直到按下 Ctrl-C</translation>
    </message>
    <message>
        <source>Stop after N seconds (0.05 to 604800, a week).</source>
        <translation>N 秒后停止（0.05 至 604800，即一周）。</translation>
    </message>
    <message>
        <source>Write the CSV to FILE instead of standard output.</source>
        <translation>将 CSV 写入 FILE，而不是标准输出。</translation>
    </message>
    <message>
        <source>--seconds takes a number of seconds from 0.05 to 604800 (a week)</source>
        <translation>--seconds 需要 0.05 至 604800（一周）之间的秒数</translation>
    </message>
    <message>
        <source>%1: cannot be written (%2)</source>
        <translation>%1：无法写入（%2）</translation>
    </message>
    <message>
        <source>cannot write the CSV: %1</source>
        <translation>无法写入 CSV：%1</translation>
    </message>
    <message>
        <source>%1 samples of %2 channels recorded.</source>
        <translation>已记录 %1 个采样，共 %2 个通道。</translation>
    </message>
</context>
<context>
    <name>CommandStore</name>
    <message>
        <source>store the controller's settings in its flash</source>
        <translation>将飞控的设置保存到其闪存中</translation>
    </message>
    <message>
        <source>The settings are stored in the controller.</source>
        <translation>设置已保存到飞控中。</translation>
    </message>
</context>
<context>
    <name>DialogRCFuncLinear</name>
    <message>
        <source>BasicResponseTune(OFF)</source>
        <translation>关闭基本感度调节</translation>
    </message>
    <message>
        <source>BasicResponseTune(ON)</source>
        <translation>开启基本感度调节</translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>选择</translation>
    </message>
</context>
<context>
    <name>DialogRCFuncSw</name>
    <message>
        <source>Choose</source>
        <translation>选择</translation>
    </message>
</context>
<context>
    <name>DialogWarning</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>FCApp</name>
    <message>
        <source>A firmware update is running. Closing now can leave the controller without working firmware. Close anyway?</source>
        <translation>固件升级正在进行。现在关闭可能使飞控没有可用的固件。仍要关闭吗？</translation>
    </message>
    <message>
        <source>AHRS is initializing</source>
        <translation>AHRS正在初始化</translation>
    </message>
    <message>
        <source>Compass error</source>
        <translation>罗盘错误</translation>
    </message>
    <message>
        <source>Compass not calibrated</source>
        <translation>罗盘没有校准</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message>
        <source>Critical Error: Unknown Mode</source>
        <translation>严重错误：未知模式</translation>
    </message>
    <message>
        <source>Critical system error</source>
        <translation>严重系统错误</translation>
    </message>
    <message>
        <source>DISCONNECTED</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>Disconnected</source>
        <translation>未连接</translation>
    </message>
    <message>
        <source>ERR</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Firmware Update Mode</source>
        <translation>固件升级模式</translation>
    </message>
    <message>
        <source>Gyroscope error</source>
        <translation>陀螺仪错误</translation>
    </message>
    <message>
        <source>Invalid parameter</source>
        <translation>无效参数</translation>
    </message>
    <message>
        <source>Magnetic noise</source>
        <translation>罗盘被干扰</translation>
    </message>
    <message>
        <source>Parameter error</source>
        <translation>参数错误</translation>
    </message>
    <message>
        <source>RC calibration error (not calibrated or calibrating)</source>
        <translation>遥控器校准错误（未校准或正在校准）</translation>
    </message>
    <message>
        <source>RC error</source>
        <translation>遥控器错误</translation>
    </message>
    <message>
        <source>RC signal lost</source>
        <translation>遥控器信号丢失</translation>
    </message>
    <message>
        <source>Self-Test OK</source>
        <translation>自检通过</translation>
    </message>
    <message>
        <source>Sensors are initializing</source>
        <translation>传感器正在初始化</translation>
    </message>
    <message>
        <source>Sensors error</source>
        <translation>传感器错误</translation>
    </message>
    <message>
        <source>This operation will restore all settings to default value, are you sure?</source>
        <translation>这个操作将会使所有参数恢复出厂默认值，是否确定操作？</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>version:</source>
        <translation>版本：</translation>
    </message>
    <message>
        <source>Changes are not stored in the controller yet. Press Save to keep them after a power cycle.</source>
        <translation>更改尚未保存到飞控中。请点击“保存”，断电后参数才不会丢失。</translation>
    </message>
    <message>
        <source>Changes are not stored in the controller yet and are lost when it is switched off. Close anyway?</source>
        <translation>更改尚未保存到飞控中，飞控断电后将会丢失。是否仍然关闭？</translation>
    </message>
    <message>
        <source>This user may not open the plugged-in controller. Install the ORVANTE package or its udev rule 70-orvante.rules, then plug the controller in again.</source>
        <translation>当前用户无权打开已插入的飞控。
请安装 ORVANTE 软件包或 udev 规则文件
70-orvante.rules，然后重新插拔飞控。</translation>
    </message>
    <message>
        <source>The controller is waiting in its bootloader for a firmware image: its last update did not finish. Its setup is safe in the history (%1). Open the firmware page?</source>
        <translation>飞控正停留在引导程序中等待固件：上次升级没有完成。它的设置已安全保存在历史记录中（%1）。打开固件页面吗？</translation>
    </message>
    <message>
        <source>The controller is waiting in its bootloader for a firmware image: its last update did not finish. Open the firmware page?</source>
        <translation>飞控正停留在引导程序中等待固件：上次升级没有完成。打开固件页面吗？</translation>
    </message>
    <message>
        <source>The setup history cannot be written to %1 (%2). ORVANTE works on without it.</source>
        <translation>无法写入设置历史记录 %1（%2）。ORVANTE 将在没有历史记录的情况下继续工作。</translation>
    </message>
    <message>
        <source>The controller is in use by another ORVANTE program (process %1).</source>
        <translation>飞控正被另一个 ORVANTE 程序使用（进程 %1）。</translation>
    </message>
    <message>
        <source>The controller is in use by another ORVANTE program.</source>
        <translation>飞控正被另一个 ORVANTE 程序使用。</translation>
    </message>
    <message>
        <source>Language of the program, from its next start</source>
        <translation>程序语言，下次启动时生效</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Radio</source>
        <translation>遥控器</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>参数</translation>
    </message>
    <message>
        <source>Firmware</source>
        <translation>固件</translation>
    </message>
    <message>
        <source>Restore the controller's default settings</source>
        <translation>将飞控的所有设置恢复为出厂默认值</translation>
    </message>
    <message>
        <source>Restore defaults</source>
        <translation>恢复默认</translation>
    </message>
    <message>
        <source>Store the settings in the controller's permanent memory</source>
        <translation>将设置保存到飞控的永久存储中</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
</context>
<context>
    <name>FCProtocol::Helper</name>
    <message>
        <source>2D Attitude Mode</source>
        <translation>2D自稳飞行模式</translation>
    </message>
    <message>
        <source>2D Headfree Attitude Mode</source>
        <translation>2D无头自稳飞行模式</translation>
    </message>
    <message>
        <source>2D Rate Mode</source>
        <translation>2D手动飞行模式</translation>
    </message>
    <message>
        <source>2D Rattitude Mode</source>
        <translation>2D半自稳飞行模式</translation>
    </message>
    <message>
        <source>2D-ATTI</source>
        <translation>2D自稳</translation>
    </message>
    <message>
        <source>2D-HFATTI</source>
        <translation>2D无头自稳</translation>
    </message>
    <message>
        <source>2D-RATE</source>
        <translation>2D手动</translation>
    </message>
    <message>
        <source>2D-RATTI</source>
        <translation>2D半自稳</translation>
    </message>
    <message>
        <source>3D Rate Mode</source>
        <translation>3D手动飞行模式</translation>
    </message>
    <message>
        <source>3D Rattitude Mode</source>
        <translation>3D半自稳飞行模式</translation>
    </message>
    <message>
        <source>3D-RATE</source>
        <translation>3D手动</translation>
    </message>
    <message>
        <source>3D-RATTI</source>
        <translation>3D半自稳</translation>
    </message>
    <message>
        <source>ARM</source>
        <translation>解锁</translation>
    </message>
    <message>
        <source>DISARM</source>
        <translation>加锁</translation>
    </message>
    <message>
        <source>FAIL-SAFE</source>
        <translation>失控保护</translation>
    </message>
    <message>
        <source>MotorCheck</source>
        <translation>电机测试</translation>
    </message>
    <message>
        <source>RUN</source>
        <translation>启动</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>未知</translation>
    </message>
</context>
<context>
    <name>PageFCFirmware</name>
    <message>
        <source>Current Version</source>
        <translation>当前版本</translation>
    </message>
    <message>
        <source>During the update process,please DO NOT move the controller in case of unexpeceted disconnect!</source>
        <translation>固件升级过程中，请不要移动飞控，以免连接中断！</translation>
    </message>
    <message>
        <source>LoadFile</source>
        <translation>载入文件</translation>
    </message>
    <message>
        <source>No controller is answering, so the update cannot start. Connect it and wait until its firmware version is shown.</source>
        <translation>没有飞控应答，无法开始升级。请连接飞控，等待显示固件版本后再试。</translation>
    </message>
    <message>
        <source>No valid firmware file is loaded, so the update cannot start. Load a .bin file first.</source>
        <translation>没有载入有效的固件文件，无法开始升级。请先载入 .bin 固件文件。</translation>
    </message>
    <message>
        <source>Preparing for update...</source>
        <translation>准备升级...</translation>
    </message>
    <message>
        <source>The controller already runs this firmware (%1). Write it again?</source>
        <translation>飞控已在运行此固件（%1），要再次写入吗？</translation>
    </message>
    <message>
        <source>This firmware is for %1, but the controller is %2. Another board&apos;s firmware can make it unusable. Update anyway?</source>
        <translation>此固件适用于 %1，但当前飞控是 %2。写入其他飞控的固件可能导致飞控无法使用。仍要升级吗？</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Update done, Restarting...</source>
        <translation>升级完成，正在重启...</translation>
    </message>
    <message>
        <source>Update fail</source>
        <translation>升级失败</translation>
    </message>
    <message>
        <source>Update success</source>
        <translation>升级成功</translation>
    </message>
    <message>
        <source>Updating...</source>
        <translation>正在升级...</translation>
    </message>
    <message>
        <source>Website</source>
        <translation>网站</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>邮箱</translation>
    </message>
</context>
<context>
    <name>PageFCFrame</name>
    <message>
        <source>During the motor test,please remove all propellers in case of unexpected danger! Please make sure the order and rotation of motors are the same as the picture shown in the software.</source>
        <translation>电机测试过程中，请卸下所有的螺旋桨，以免发生意外！请确保电机连接顺序和电机转向与图中完全一致！</translation>
    </message>
    <message>
        <source>Quad X</source>
        <translation>四轴X型</translation>
    </message>
    <message>
        <source>Quad +</source>
        <translation>四轴十字型</translation>
    </message>
    <message>
        <source>Hexa X</source>
        <translation>六轴X型</translation>
    </message>
    <message>
        <source>Hexa +</source>
        <translation>六轴十字型</translation>
    </message>
    <message>
        <source>Octo X</source>
        <translation>八轴X型</translation>
    </message>
    <message>
        <source>Octo +</source>
        <translation>八轴十字型</translation>
    </message>
    <message>
        <source>Y6 X</source>
        <translation>Y6 X型</translation>
    </message>
    <message>
        <source>Y6 +</source>
        <translation>Y6 十字型</translation>
    </message>
    <message>
        <source>X8 X</source>
        <translation>X8 X型</translation>
    </message>
    <message>
        <source>X8 +</source>
        <translation>X8 十字型</translation>
    </message>
    <message>
        <source>Motor Test</source>
        <translation>电机测试</translation>
    </message>
    <message>
        <source>Upright</source>
        <translation>正装</translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation>倒装</translation>
    </message>
</context>
<context>
    <name>PageFCPara</name>
    <message>
        <source>Save to file</source>
        <translation>保存到文件</translation>
    </message>
    <message>
        <source>Load from file</source>
        <translation>从文件载入</translation>
    </message>
    <message>
        <source>Tuning (*.json)</source>
        <translation>参数文件 (*.json)</translation>
    </message>
    <message>
        <source>No parameters have been read from the controller yet; there is nothing to save.</source>
        <translation>尚未从飞控读取参数，没有可保存的内容。</translation>
    </message>
    <message>
        <source>No parameters have been read from the controller yet; connect it and open this page first.</source>
        <translation>尚未从飞控读取参数，请先连接飞控并打开本页面。</translation>
    </message>
    <message>
        <source>The tuning could not be saved to %1: %2</source>
        <translation>参数无法保存到 %1：%2</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>历史记录…</translation>
    </message>
    <message>
        <source>The controller did not answer while its setup was read. Nothing was saved.</source>
        <translation>读取飞控设置时飞控没有应答。未保存任何内容。</translation>
    </message>
    <message>
        <source>The controller did not answer while its setup was read, so the file cannot be compared with it. Nothing was sent.</source>
        <translation>读取飞控设置时飞控没有应答，无法与文件比较。未发送任何参数。</translation>
    </message>
    <message>
        <source>%1 holds the controller's values already. Nothing needs to be sent.</source>
        <translation>%1 中的数值与飞控当前的相同，无需发送。</translation>
    </message>
    <message>
        <source>Load this tuning? These values in %1 differ from the controller's. They are not stored in the controller until you press Save.</source>
        <translation>载入此参数？%1 中的以下数值与飞控当前的不同。点击“保存”之前，参数不会保存到飞控中。</translation>
    </message>
    <message>
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message>
        <source>The history belongs to a connected controller, and none has answered yet.</source>
        <translation>历史记录属于已连接的飞控，目前还没有飞控应答。</translation>
    </message>
    <message>
        <source>The controller did not answer while its setup was read, so the history cannot be compared with it.</source>
        <translation>读取飞控设置时飞控没有应答，无法与历史记录比较。</translation>
    </message>
    <message>
        <source>%1 cannot be loaded: %2. Nothing was sent.</source>
        <translation>无法载入 %1：%2。未发送任何参数。</translation>
    </message>
    <message>
        <source>These values did not take:</source>
        <translation>以下数值未被飞控接受：</translation>
    </message>
    <message>
        <source>%1: the controller kept %2</source>
        <translation>%1：飞控保留了 %2</translation>
    </message>
    <message>
        <source>and %1 more</source>
        <translation>另有 %1 项</translation>
    </message>
    <message>
        <source>The controller stopped answering while the values were written, so which of them it took is unknown. Check the page before you press Save.</source>
        <translation>写入数值时飞控停止了应答，无法确定哪些数值已被接受。请先检查本页面，再点击“保存”。</translation>
    </message>
    <message>
        <source>2D ESC mode</source>
        <translation>2D电调模式</translation>
    </message>
    <message>
        <source>3D ESC mode</source>
        <translation>3D电调模式</translation>
    </message>
    <message>
        <source>OneShot125</source>
        <translation>OneShot125协议</translation>
    </message>
    <message>
        <source>Simple</source>
        <translation>简易模式</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>专家模式</translation>
    </message>
    <message>
        <source>Link roll and pitch</source>
        <translation>横滚与俯仰联动</translation>
    </message>
    <message>
        <source>ESC</source>
        <translation>电调设置</translation>
    </message>
    <message>
        <source>Limits</source>
        <translation>飞行限制</translation>
    </message>
    <message>
        <source>Gains</source>
        <translation>感度设置</translation>
    </message>
</context>
<context>
    <name>PageFCRc</name>
    <message>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>结束校准</translation>
    </message>
    <message>
        <source>Operating instruction： turn all channel sticks,make sure all of them move from the minimum position to the maximum position,and then click &quot;Complete&quot; after completed. operate now?</source>
        <translation>操作方法：拨动所有通道摇杆，保证各通道遥感触及最小及最大位置，操作完成后点击“结束校准”。
是否开始操作。</translation>
    </message>
    <message>
        <source>Please middle the THROTTLE and click &quot;OK&quot; bellow to complete the calibration.</source>
        <translation>请将油门通道置于中点位置，然后点击下方的“确定”以完成校准。</translation>
    </message>
    <message>
        <source>Recognizing...</source>
        <translation>正在识别...</translation>
    </message>
    <message>
        <source>Reverse roll</source>
        <translation>横滚反向</translation>
    </message>
    <message>
        <source>Reverse pitch</source>
        <translation>俯仰反向</translation>
    </message>
    <message>
        <source>Reverse throttle</source>
        <translation>油门反向</translation>
    </message>
    <message>
        <source>Reverse yaw</source>
        <translation>航向反向</translation>
    </message>
    <message>
        <source>Reverse mode switch</source>
        <translation>模式开关反向</translation>
    </message>
    <message>
        <source>Reverse arm switch</source>
        <translation>解锁开关反向</translation>
    </message>
    <message>
        <source>2D mode</source>
        <translation>2D模式</translation>
    </message>
    <message>
        <source>3D mode</source>
        <translation>3D模式</translation>
    </message>
    <message>
        <source>Easy mode</source>
        <translation>简易模式</translation>
    </message>
    <message>
        <source>Mode switch in position 1</source>
        <translation>模式开关处于位置1</translation>
    </message>
    <message>
        <source>Mode switch position 1</source>
        <translation>模式开关位置1</translation>
    </message>
    <message>
        <source>Mode switch in position 2</source>
        <translation>模式开关处于位置2</translation>
    </message>
    <message>
        <source>Mode switch position 2</source>
        <translation>模式开关位置2</translation>
    </message>
    <message>
        <source>Mode switch in position 3</source>
        <translation>模式开关处于位置3</translation>
    </message>
    <message>
        <source>Mode switch position 3</source>
        <translation>模式开关位置3</translation>
    </message>
    <message>
        <source>Arm switch in position 1</source>
        <translation>解锁开关处于位置1</translation>
    </message>
    <message>
        <source>Arm switch position 1</source>
        <translation>解锁开关位置1</translation>
    </message>
    <message>
        <source>Arm switch in position 2</source>
        <translation>解锁开关处于位置2</translation>
    </message>
    <message>
        <source>Arm switch position 2</source>
        <translation>解锁开关位置2</translation>
    </message>
    <message>
        <source>Flight mode, switch position 1</source>
        <translation>开关位置1的飞行模式</translation>
    </message>
    <message>
        <source>Flight mode, switch position 2</source>
        <translation>开关位置2的飞行模式</translation>
    </message>
    <message>
        <source>Flight mode, switch position 3</source>
        <translation>开关位置3的飞行模式</translation>
    </message>
</context>
<context>
    <name>PageFCScope</name>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Tools</source>
        <translation>工具</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Could not write %1.</source>
        <translation>无法写入 %1。</translation>
    </message>
    <message>
        <source>Export CSV</source>
        <translation>导出 CSV</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>导出 CSV…</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG 图片 (*.png)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>继续</translation>
    </message>
    <message>
        <source>Save image</source>
        <translation>保存图片</translation>
    </message>
    <message>
        <source>Save image…</source>
        <translation>保存图片…</translation>
    </message>
</context>
<context>
    <name>PageFCStatus</name>
    <message>
        <source>Calibration</source>
        <translation>校准</translation>
    </message>
    <message>
        <source>During the motor test,please remove all propellers in case of unexpected danger! Please make sure the order and rotation of motors are the same as the picture shown in the software.</source>
        <translation>电机测试过程中，请卸下所有的螺旋桨，以免发生意外！请确保电机连接顺序和电机转向与图中完全一致！</translation>
    </message>
    <message>
        <source>Please level the multicopter, and then click &quot;OK&quot;</source>
        <translation>请将飞行器水平放置，然后点击“确定”。</translation>
    </message>
    <message>
        <source>Motor Test</source>
        <translation>电机测试</translation>
    </message>
</context>
<context>
    <name>SetupDiffTable</name>
    <message>
        <source>roll rate</source>
        <translation>横滚角速度</translation>
    </message>
    <message>
        <source>pitch rate</source>
        <translation>俯仰角速度</translation>
    </message>
    <message>
        <source>roll angle</source>
        <translation>横滚角度</translation>
    </message>
    <message>
        <source>pitch angle</source>
        <translation>俯仰角度</translation>
    </message>
    <message>
        <source>yaw rate</source>
        <translation>航向角速度</translation>
    </message>
    <message>
        <source>Max roll / pitch rate</source>
        <translation>最大横滚/俯仰角速度</translation>
    </message>
    <message>
        <source>Max roll / pitch angle</source>
        <translation>最大横滚/俯仰角度</translation>
    </message>
    <message>
        <source>Max yaw rate</source>
        <translation>最大航向角速度</translation>
    </message>
    <message>
        <source>ESC output min</source>
        <translation>电调最小输出</translation>
    </message>
    <message>
        <source>3D dead band low</source>
        <translation>3D死区下限</translation>
    </message>
    <message>
        <source>3D dead band high</source>
        <translation>3D死区上限</translation>
    </message>
    <message>
        <source>ESC output max</source>
        <translation>电调最大输出</translation>
    </message>
    <message>
        <source>Gain mode</source>
        <translation>感度模式</translation>
    </message>
    <message>
        <source>Roll and pitch gains linked</source>
        <translation>横滚与俯仰感度联动</translation>
    </message>
    <message>
        <source>Reserved byte</source>
        <translation>保留字节</translation>
    </message>
    <message>
        <source>OneShot125</source>
        <translation>OneShot125</translation>
    </message>
    <message>
        <source>ESC mode</source>
        <translation>电调模式</translation>
    </message>
    <message>
        <source>Mode buttons</source>
        <translation>模式按钮</translation>
    </message>
    <message>
        <source>Airframe</source>
        <translation>机架</translation>
    </message>
    <message>
        <source>Mounting</source>
        <translation>安装方向</translation>
    </message>
    <message>
        <source>Quad X</source>
        <translation>四轴X型</translation>
    </message>
    <message>
        <source>Quad +</source>
        <translation>四轴十字型</translation>
    </message>
    <message>
        <source>Hexa X</source>
        <translation>六轴X型</translation>
    </message>
    <message>
        <source>Hexa +</source>
        <translation>六轴十字型</translation>
    </message>
    <message>
        <source>Octo X</source>
        <translation>八轴X型</translation>
    </message>
    <message>
        <source>Octo +</source>
        <translation>八轴十字型</translation>
    </message>
    <message>
        <source>Y6 X</source>
        <translation>Y6 X型</translation>
    </message>
    <message>
        <source>Y6 +</source>
        <translation>Y6 十字型</translation>
    </message>
    <message>
        <source>X8 X</source>
        <translation>X8 X型</translation>
    </message>
    <message>
        <source>X8 +</source>
        <translation>X8 十字型</translation>
    </message>
    <message>
        <source>Simple gain: %1</source>
        <translation>简易感度：%1</translation>
    </message>
    <message>
        <source>Expert gain: %1 %2</source>
        <translation>专家感度：%1 %2</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置项</translation>
    </message>
    <message>
        <source>Controller</source>
        <translation>飞控</translation>
    </message>
    <message>
        <source>Channel %1 reversed</source>
        <translation>通道%1反向</translation>
    </message>
    <message>
        <source>Flight mode, switch position %1</source>
        <translation>开关位置%1的飞行模式</translation>
    </message>
    <message>
        <source>Expert</source>
        <translation>专家模式</translation>
    </message>
    <message>
        <source>Simple</source>
        <translation>简易模式</translation>
    </message>
    <message>
        <source>On</source>
        <translation>开</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>关</translation>
    </message>
    <message>
        <source>Reversed</source>
        <translation>反向</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>正常</translation>
    </message>
    <message>
        <source>Easy</source>
        <translation>简易</translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation>倒装</translation>
    </message>
    <message>
        <source>Upright</source>
        <translation>正装</translation>
    </message>
</context>
<context>
    <name>CliSetup</name>
    <message>
        <source>the controller waits in its bootloader, where its setup cannot be read; flash a firmware first</source>
        <translation>飞控正停留在引导程序中，无法读取其设置；请先写入固件</translation>
    </message>
    <message>
        <source>The setup could not be kept in the history (%1).</source>
        <translation>无法将设置保存到历史记录（%1）。</translation>
    </message>
    <message>
        <source>The controller&apos;s setup is kept in the history: %1</source>
        <translation>飞控的设置已保存到历史记录：%1</translation>
    </message>
    <message>
        <source>name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>the controller stopped answering while its setup was read back; which values it took is unknown</source>
        <translation>读回飞控设置时飞控停止了应答；无法确定哪些数值已被接受</translation>
    </message>
    <message>
        <source>the controller did not confirm the store</source>
        <translation>飞控没有确认保存</translation>
    </message>
</context>
<context>
    <name>CommandBackup</name>
    <message>
        <source>read the controller&apos;s parameters, radio and airframe into FILE (- for standard output)</source>
        <translation>将飞控的参数、遥控与机架设置读入 FILE（- 表示标准输出）</translation>
    </message>
    <message>
        <source>%1: cannot be written (%2)</source>
        <translation>%1：无法写入（%2）</translation>
    </message>
    <message>
        <source>The setup of %1 is in %2.</source>
        <translation>%1 的设置已写入 %2。</translation>
    </message>
</context>
<context>
    <name>CommandDiff</name>
    <message>
        <source>the values FILE sets differently from the controller, or from FILE2</source>
        <translation>FILE 中与飞控（或与 FILE2）不同的数值</translation>
    </message>
    <message>
        <source>Write JSON instead of text.</source>
        <translation>以 JSON 代替文本输出。</translation>
    </message>
    <message>
        <source>controller</source>
        <translation>飞控</translation>
    </message>
    <message>
        <source>No value differs.</source>
        <translation>没有不同的数值。</translation>
    </message>
</context>
<context>
    <name>CommandRestore</name>
    <message>
        <source>write the values of FILE that differ to the controller and read them back</source>
        <translation>将 FILE 中不同的数值写入飞控并读回核对</translation>
    </message>
    <message>
        <source>Print the values that differ; write nothing.</source>
        <translation>只列出不同的数值，不写入。</translation>
    </message>
    <message>
        <source>Then store the settings in the controller&apos;s flash.</source>
        <translation>然后将设置保存到飞控的闪存中。</translation>
    </message>
    <message>
        <source>controller</source>
        <translation>飞控</translation>
    </message>
    <message>
        <source>The controller already holds these values.</source>
        <translation>飞控已是这些数值。</translation>
    </message>
    <message>
        <source>the controller holds other values than the file after writing:</source>
        <translation>写入后飞控的数值仍与文件不同：</translation>
    </message>
    <message>
        <source>The controller holds the values of %1.</source>
        <translation>飞控已采用 %1 中的数值。</translation>
    </message>
    <message>
        <source>The settings are stored in the controller.</source>
        <translation>设置已保存到飞控中。</translation>
    </message>
</context>
<context>
    <name>SetupFile</name>
    <message>
        <source>cannot be read</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>larger than 64 KiB, not a setup file</source>
        <translation>大于 64 KiB，不是设置文件</translation>
    </message>
    <message>
        <source>not a setup file: %1</source>
        <translation>不是设置文件：%1</translation>
    </message>
    <message>
        <source>not a setup file: &quot;format&quot; is missing or names another format</source>
        <translation>不是设置文件：缺少“format”，或它指明的是其他格式</translation>
    </message>
    <message>
        <source>a setup file of version %1; this program reads versions 1 and 2</source>
        <translation>这是版本 %1 的设置文件；本程序读取版本 1 和 2</translation>
    </message>
    <message>
        <source>no value for &quot;%1&quot;</source>
        <translation>缺少“%1”的值</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a group of values</source>
        <translation>“%1”不是一组数值</translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; is not a number</source>
        <translation>“%1”的值不是数字</translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; must be a whole number</source>
        <translation>“%1”的值必须是整数</translation>
    </message>
    <message>
        <source>the value of &quot;%1&quot; is outside %2 to %3</source>
        <translation>“%1”的值超出 %2 到 %3 的范围</translation>
    </message>
</context>
<context>
    <name>CliOutput</name>
    <message>
        <source>standard output could not be written (%1)</source>
        <translation>无法写入标准输出（%1）</translation>
    </message>
</context>
<context>
    <name>CommandList</name>
    <message>
        <source>the controllers plugged in: device node, serial number, board, mode, and who holds each</source>
        <translation>已连接的飞控：设备节点、序列号、型号、模式，以及由谁占用</translation>
    </message>
    <message>
        <source>Write JSON instead of text.</source>
        <translation>以 JSON 代替文本输出。</translation>
    </message>
    <message>
        <source>no controller is plugged in</source>
        <translation>没有连接飞控</translation>
    </message>
    <message>
        <source>in use by ORVANTE (process %1)</source>
        <translation>正被 ORVANTE 使用（进程 %1）</translation>
    </message>
    <message>
        <source>does not answer</source>
        <translation>没有应答</translation>
    </message>
</context>
<context>
    <name>StatusStrip</name>
    <message>
        <source>Connection: %1</source>
        <translation>连接：%1</translation>
    </message>
    <message>
        <source>Self-test: no result</source>
        <translation>自检：无结果</translation>
    </message>
    <message>
        <source>Self-test: %1</source>
        <translation>自检：%1</translation>
    </message>
</context>
<context>
    <name>DialogSetupDiff</name>
    <message>
        <source>Confirm</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
</TS>
