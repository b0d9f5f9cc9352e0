#include "model/translation.h"

#include <atomic>
#include <iterator>

namespace {

struct TextPair {
    const char *english;
    const char *chinese;
};

// Order matters: lookups take the first match. Some rows repeat (the gesture
// names of the mouse and knob pages) and several English texts share one
// Chinese text; both are harmless under first-match lookup, so the table
// keeps them as they are.
constexpr TextPair kTextPairs[] = {
    {"Connect the device with a usb cable", u8"请用USB线连接设备"},
    {"Device connected", u8"设备已连接"},
    {"Saved successfully", u8"保存成功"},
    {"Key Function Display Area", u8"按键功能显示区"},
    {"Clear", u8"清除"},
    {"Clear All", u8"清除全部"},
    {"View Settings", u8"查看配置"},
    {"Save Settings", u8"保存设置"},
    {"BaseKeys", u8"基础按键"},
    {"Ext Keys", u8"扩展按键"},
    {"MultiMedia", u8"多媒体"},
    {"RGB LED", u8"RGB灯光"},
    {"Base Color", u8"基础颜色"},
    {"Pick one base color. Some effects will use it, some will ignore it.", u8"选择一个基础颜色，部分灯效会使用它，部分灯效会忽略它。"},
    {"Effects", u8"灯效"},
    {"Choose how the current layer should behave. Some effects use the base color, others use built-in palettes.", u8"选择当前层的灯光效果。部分灯效使用基础颜色，其他灯效使用内置色盘。"},
    {"Lights Off", u8"关闭灯光"},
    {"Steady Light", u8"灯光常量"},
    {"Flowing Light", u8"流光"},
    {"Key Reactive", u8"按键触发"},
    {"Rainbow Flow", u8"彩虹流光"},
    {"Forward Rainbow Flow", u8"正向彩虹跑马"},
    {"Reverse Rainbow Flow", u8"反向彩虹跑马"},
    {"Wave", u8"波浪"},
    {"Rainbow Marquee", u8"彩虹跑马"},
    {"Breathing", u8"呼吸"},
    {"Ripple", u8"涟漪"},
    {"Cross Ripple", u8"交叉涟漪"},
    {"Mouse", u8"鼠标"},
    {"Macro Key", u8"宏按键"},
    {"DelaySetting", u8"延时设置"},
    {"LAYER 1", u8"第1层"},
    {"LAYER 2", u8"第2层"},
    {"LAYER 3", u8"第3层"},
    {"Click here to start key macro recording", u8"点击这里开始按键宏录入"},
    {"Click here to end key macro recording", u8"点击这里结束宏按键录入"},
    {"Left\nCommand", u8"左\nCommand"},
    {"Right\nCommand", u8"右\nCommand"},
    {"Left\nOption", u8"左\nOption"},
    {"Right\nOption", u8"右\nOption"},
    {"Left\nControl", u8"左\nControl"},
    {"Right\nControl", u8"右\nControl"},
    {"Next Track", u8"下一曲"},
    {"Stop", u8"停止"},
    {"Prev Track", u8"上一曲"},
    {"Play/Pause", u8"播放/暂停"},
    {"Bright+", u8"亮度+"},
    {"Bright-", u8"亮度-"},
    {"My Computer", u8"我的电脑"},
    {"Vol-", u8"音量-"},
    {"Vol+", u8"音量+"},
    {"Mute", u8"静音"},
    {"Open Media", u8"打开媒体"},
    {"Calculator", u8"计算器"},
    {"Browser", u8"浏览器"},
    {"Email", u8"邮件"},
    {"Bass+", u8"低音+"},
    {"Bass-", u8"低音-"},
    {"Treble+", u8"高音+"},
    {"Treble-", u8"高音-"},
    {"Refresh", u8"刷新"},
    {"Forward", u8"前进"},
    {"Back", u8"后退"},
    {"Mouse LeftKey", u8"鼠标左键"},
    {"Mouse Middle", u8"鼠标中键"},
    {"Mouse Right", u8"鼠标右键"},
    {"Mouse Wheel+", u8"鼠标滚轮+"},
    {"Mouse Wheel-", u8"鼠标滚轮-"},
    {"Ctrl+Mouse Up", u8"Ctrl+鼠标滚轮向上"},
    {"Ctrl+Mouse Down", u8"Ctrl+鼠标滚轮向下"},
    {"Shift+Mouse Up", u8"Shift+鼠标滚轮向上"},
    {"Shift+Mouse Down", u8"Shift+鼠标滚轮向下"},
    {"Alt+Mouse Up", u8"Alt+鼠标滚轮向上"},
    {"Alt+Mouse Down", u8"Alt+鼠标滚轮向下"},
    {"Left Swipe", u8"左滑屏"},
    {"Right Swipe", u8"右滑屏"},
    {"Up Swipe", u8"上滑屏"},
    {"Down Swipe", u8"下滑屏"},
    {"Like", u8"点赞"},
    {"Mouse Left", u8"鼠标左键"},
    {"Mouse Wheel Up", u8"鼠标滚轮向上"},
    {"Mouse Wheel Down", u8"鼠标滚轮向下"},
    {"Ctrl+Wheel Up", u8"Ctrl+鼠标滚轮向上"},
    {"Ctrl+Wheel Down", u8"Ctrl+鼠标滚轮向下"},
    {"Shift+Wheel Up", u8"Shift+鼠标滚轮向上"},
    {"Shift+Wheel Down", u8"Shift+鼠标滚轮向下"},
    {"Alt+Wheel Up", u8"Alt+鼠标滚轮向上"},
    {"Alt+Wheel Down", u8"Alt+鼠标滚轮向下"},
    {"Left Swipe", u8"左滑屏"},
    {"Right Swipe", u8"右滑屏"},
    {"Up Swipe", u8"上滑屏"},
    {"Down Swipe", u8"下滑屏"},
    {"Like", u8"点赞"},
    {"Delay", u8"延时"},
    {"Red", u8"红色"},
    {"Orange", u8"橙色"},
    {"Yellow", u8"黄色"},
    {"Green", u8"绿色"},
    {"Cyan", u8"青色"},
    {"Blue", u8"蓝色"},
    {"Purple", u8"紫色"},
    {"LED Mode0", u8"灯光模式0"},
    {"LED Mode1", u8"灯光模式1"},
    {"LED Mode2", u8"灯光模式2"},
    {"LED Mode3", u8"灯光模式3"},
    {"LED Mode4", u8"灯光模式4"},
    {"LED Mode5", u8"灯光模式5"},
    {"QuickMenu", u8"快捷菜单"},
    {"Debug Commands", u8"调试命令"},
    {"Activate Brush Tool", u8"画笔工具"},
    {"Open Color Panel", u8"打开颜色面板"},
    {"Activate Eraser Tool", u8"橡皮擦工具"},
    {"Open Layers Panel", u8"打开图层面板"},
    {"Enter Selection Mode", u8"进入选区模式"},
    {"Enter Transform Mode", u8"进入变换模式"},
    {"Switch Between Previous and Current Color", u8"切换上一个\n当前颜色"},
    {"Color Pick (Alt)", u8"取色(Alt)"},
    {"Color Pick M (iOS 17)", u8"取色M(iOS 17)"},
    {"Clear Selected Layer", u8"清除当前图层"},
    {"Toggle Full Screen Mode", u8"全屏模式"},
    {"Toggle Perspective Guide", u8"透视辅助线"},
    {"Decrease Brush Size by 1%", u8"画笔缩小1%"},
    {"Increase Brush Size by 1%", u8"画笔放大1%"},
    {"Decrease Brush Size by 5%", u8"画笔缩小5%"},
    {"Increase Brush Size by 5%", u8"画笔放大5%"},
    {"Decrease Brush Size by 10%", u8"画笔缩小10%"},
    {"Increase Brush Size by 10%", u8"画笔放大10%"},
    {"Copy All", u8"全部复制"},
    {"Apply Color Balance Adjustment", u8"应用色彩平衡"},
    {"Copy", u8"复制"},
    {"Clear Selection", u8"清除选区"},
    {"Duplicate Selection", u8"复制选区"},
    {"Open Actions Menu", u8"打开操作菜单"},
    {"Apply HSB Adjustment", u8"应用HSB调整"},
    {"Paste", u8"粘贴"},
    {"Cut", u8"剪切"},
    {"Undo", u8"撤销"},
    {"Redo", u8"重做"},
    {"Deselect", u8"取消选择"},
    // Why a save failed, and why a keypad that is there cannot be opened.
    {"Save failed: the keypad refused the change", u8"保存失败：设备拒绝了更改"},
    {"Save failed: the keypad did not answer", u8"保存失败：设备没有响应"},
    {"Save failed: the keypad was unplugged", u8"保存失败：设备已被拔出"},
    {"Save failed: the data did not reach the keypad", u8"保存失败：数据未能送达设备"},
    {"Save failed: this keypad has no such key", u8"保存失败：此设备没有该按键"},
    {"Save failed: a key is too long for the keypad", u8"保存失败：按键内容超出设备的容量"},
    {"No access to the keypad: run cmake --install, replug",
     u8"无权访问设备：请运行 cmake --install 后重新插入"},
    {"The keypad cannot be opened: %1", u8"无法打开设备：%1"},
    {"The keypad uses effect %1, which is not in this list.", u8"设备正在使用灯效 %1，它不在此列表中。"},
    // Unsaved changes: the questions before they could be lost, and what
    // happens to them when the keypad goes away or a save fails.
    {"Unsaved changes restored: Save Settings writes them", u8"未保存的更改已恢复：点击保存设置即可写入"},
    {"Unsaved changes of another keypad are kept aside", u8"另一设备未保存的更改已另行保留"},
    {"Some changes have not been saved to the keypad.", u8"有更改尚未保存到设备。"},
    {"Save them before closing?", u8"关闭前保存这些更改吗？"},
    {"No keypad can take them now. Close anyway?", u8"当前没有可写入的设备。仍要关闭吗？"},
    {"Save", u8"保存"},
    {"Discard", u8"放弃"},
    {"Cancel", u8"取消"},
    {"Reading the keypad again discards the changes not yet saved.", u8"重新读取设备将放弃尚未保存的更改。"},
    {"Discard and read", u8"放弃并读取"},
    // The macro flow's block titles and delay unit.
    {"delay", u8"延时"},
    {"Press", u8"按下"},
    {"Release", u8"松开"},
    {"ms", u8"毫秒"},
    // The older families' delay pages.
    {"Delay:", u8"延时："},
    {"MS", u8"毫秒"},
    {"NULL", u8"空"},
    // The LED segments around the single knob.
    {"LED1", u8"灯珠1"},
    {"LED2", u8"灯珠2"},
    {"LED3", u8"灯珠3"},
    {"LED4", u8"灯珠4"},
    // The history of edits, copy and paste, layer copy.
    {"Key Function", u8"按键功能"},
    {"Macro Recording", u8"宏录制"},
    {"Delay Change", u8"延时修改"},
    {"Lighting Change", u8"灯光修改"},
    {"Swap Keys", u8"交换按键"},
    {"Layer Copy", u8"复制层"},
    {"This keypad cannot store this key", u8"此设备无法保存这个按键"},
    {"This keypad cannot store macros", u8"此设备无法保存宏"},
    {"Copy this layer to\u2026", u8"将此层复制到…"},
    {"Copy Layer", u8"复制层"},
    {"Layer %2 holds assignments. Replace them with those of layer %1?", u8"第%2层已有按键功能。要用第%1层的功能替换吗？"},
    {"Replace", u8"替换"},
    // What a screen reader says of the keys and knob parts.
    {"Key %1: %2", u8"按键 %1：%2"},
    {"Knob %1 turn left: %2", u8"旋钮 %1 左旋：%2"},
    {"Knob %1 turn right: %2", u8"旋钮 %1 右旋：%2"},
    {"Knob %1 press: %2", u8"旋钮 %1 按下：%2"},
    {"Knob %1 press and turn right: %2", u8"旋钮 %1 按住右旋：%2"},
    {"Knob %1 press and turn left: %2", u8"旋钮 %1 按住左旋：%2"},
    {"not assigned", u8"未设置"},
    {"Select to give this key a function; Ctrl+C copies, Ctrl+V pastes, Delete clears",
     u8"选中后可为此按键设置功能；Ctrl+C 复制，Ctrl+V 粘贴，Delete 清除"},
    {"Select to give this knob part a function; Ctrl+C copies, Ctrl+V pastes, Delete clears",
     u8"选中后可为此旋钮动作设置功能；Ctrl+C 复制，Ctrl+V 粘贴，Delete 清除"},
    // A save the keypad acknowledged but did not keep, read back.
    {"Save failed: the keypad did not keep %1", u8"保存失败：设备未保存%1"},
    {"1 key", u8"1个按键"},
    {"%1 keys", u8"%1个按键"},
    {"1 lighting record", u8"1项灯光设置"},
    {"%1 lighting records", u8"%1项灯光设置"},
    {"%1 and %2", u8"%1和%2"},
    // The printed pages of a keypad and the commands that make them.
    {"Print\u2026", u8"打印…"},
    {"Export as PDF\u2026", u8"导出为PDF…"},
    {"Export as PDF", u8"导出为PDF"},
    {"PDF files (*.pdf)", u8"PDF文件 (*.pdf)"},
    {"The PDF could not be written to %1.", u8"无法将PDF写入%1。"},
    {"Layer %1", u8"第%1层"},
    {"Layer %1 (continued)", u8"第%1层（续）"},
    {"Keypad: %1", u8"键盘：%1"},
    {"Date: %1", u8"日期：%1"},
    {"1 knob", u8"1个旋钮"},
    {"%1 knobs", u8"%1个旋钮"},
    {"%1, %2", u8"%1，%2"},
    {"%1 (not connected)", u8"%1（未连接）"},
    {"Lighting effect: %1", u8"灯光效果：%1"},
    {"Effect %1", u8"灯效%1"},
    {"Layer colour", u8"本层颜色"},
    {"Control", u8"按键/旋钮"},
    {"Function", u8"功能"},
    // A control's own name: the printed table and the display's heading.
    {"Key %1", u8"按键 %1"},
    {"Knob %1 turn left", u8"旋钮 %1 左旋"},
    {"Knob %1 turn right", u8"旋钮 %1 右旋"},
    {"Knob %1 press", u8"旋钮 %1 按下"},
    {"Knob %1 press and turn right", u8"旋钮 %1 按住右旋"},
    {"Knob %1 press and turn left", u8"旋钮 %1 按住左旋"},
    {"Each key you click is added to the selected key; Clear starts again.",
     u8"点击的每个键都会加到所选按键上；“清除”可重新开始。"},
    // The keypad in a file: export, import and its preview.
    {"Export to file\u2026", u8"导出到文件…"},
    {"Import from file\u2026", u8"从文件导入…"},
    {"Export to file", u8"导出到文件"},
    {"Export to file (unsaved edits included)", u8"导出到文件（含未保存的修改）"},
    {"Import from file", u8"从文件导入"},
    {"Import", u8"导入"},
    {"OK", u8"确定"},
    {"Lighting", u8"灯光"},
    {"Zentrik keypad files (*.zentrik.json)", u8"Zentrik 键盘文件 (*.zentrik.json)"},
    {"All files (*)", u8"所有文件 (*)"},
    {"Connect a keypad to export its settings.", u8"请先连接设备再导出其设置。"},
    {"Connect a keypad to import a file onto it.", u8"请先连接设备再导入文件。"},
    {"The file could not be written: %1", u8"无法写入文件：%1"},
    {"The file could not be read: %1", u8"无法读取文件：%1"},
    {"The file cannot be imported: %1.", u8"无法导入此文件：%1。"},
    {"Field: %1", u8"字段：%1"},
    {"Nothing was changed.", u8"未做任何更改。"},
    {"The keypad changed while the preview was open. Nothing was changed.",
     u8"预览打开期间设备已变化。未做任何更改。"},
    {"The keypad is being read. Import the file again once it is done.",
     u8"正在读取设备。读取完成后请再次导入文件。"},
    {"Importing %1 changes these layers of the keypad. Nothing reaches the keypad until you save.",
     u8"导入 %1 将更改设备的以下各层。保存之前不会写入设备。"},
    {"Layer %1: %2 changes", u8"第%1层：%2处更改"},
    {"No function changes", u8"按键功能无更改"},
    {"Layer %1: lighting changes", u8"第%1层：灯光更改"},
    {"Layer %1: lighting stays as it is", u8"第%1层：灯光不变"},
    {"This keypad cannot hold these; they are skipped:", u8"此设备无法保存以下内容，将跳过："},
    {"Layer %1, %2", u8"第%1层，%2"},
    {"%1: this keypad has no such control", u8"%1：此设备没有这个按键"},
    {"%1: this keypad cannot hold it", u8"%1：此设备无法保存"},
    {"Layer %1: this keypad has no such layer", u8"第%1层：此设备没有这一层"},
    {"Extra %1: %2", u8"附加键 %1：%2"},
    // Why a keypad file is refused.
    {"The file is larger than %1 KiB", u8"文件大于 %1 KiB"},
    {"The file nests lists and objects deeper than %1 levels", u8"文件中列表和对象的嵌套超过 %1 层"},
    {"The file is not valid JSON (%1) at byte %2", u8"文件不是有效的 JSON（%1），位置：第 %2 字节"},
    {"This is not a Zentrik keypad file", u8"这不是 Zentrik 键盘文件"},
    {"%1 must be a version such as \"1.0\"", u8"%1 必须是版本号，例如 \"1.0\""},
    {"This file has format version %1, made by a newer Zentrik; this Zentrik reads version %2",
     u8"此文件的格式版本为 %1，由更新的 Zentrik 生成；当前 Zentrik 只能读取版本 %2"},
    {"%1 is missing", u8"缺少 %1"},
    {"%1 must be a whole number", u8"%1 必须是整数"},
    {"%1 must be between %2 and %3", u8"%1 必须在 %2 到 %3 之间"},
    {"%1 must be an object", u8"%1 必须是对象"},
    {"%1 must be a list", u8"%1 必须是列表"},
    {"Layer %1 is in the file twice", u8"文件中第%1层出现了两次"},
    {"%1 is in layer %2 twice", u8"%1 在第%2层中出现了两次"},
    {"%1 must name a control such as \"key 1\" or \"knob 1 turn left\"",
     u8"%1 必须指明按键，例如 \"key 1\" 或 \"knob 1 turn left\""},
    {"%1 must be one of: %2", u8"%1 必须是以下之一：%2"},
    {"%1 holds more than %2 keys", u8"%1 包含超过 %2 个按键"},
    {"%1 must be a key code from 1 to 255, not a modifier and not repeated",
     u8"%1 必须是 1 到 255 的键码，不能是修饰键，也不能重复"},
    {"%1 holds no key", u8"%1 不含任何按键"},
    {"%1 holds %2 steps; a macro holds at most %3", u8"%1 有 %2 步；宏最多 %3 步"},
    {"%1 must list %2 colours", u8"%1 必须列出 %2 种颜色"},
    {"%1 must be a colour such as \"#ff8000\"", u8"%1 必须是颜色，例如 \"#ff8000\""},
    // Names a screen reader gives the keys of the on-screen keyboard.
    {"Left Ctrl", u8"左Ctrl"},
    {"Left Shift", u8"左Shift"},
    {"Left Alt", u8"左Alt"},
    {"Left Win", u8"左Win"},
    {"Right Ctrl", u8"右Ctrl"},
    {"Right Shift", u8"右Shift"},
    {"Right Alt", u8"右Alt"},
    {"Right Win", u8"右Win"},
    {"Up Arrow", u8"上方向键"},
    {"Down Arrow", u8"下方向键"},
    {"Left Arrow", u8"左方向键"},
    {"Right Arrow", u8"右方向键"},
    {"Num Lock", u8"数字锁定键"},
    {"Keypad Enter", u8"小键盘 Enter"},
    {"Keypad %1", u8"小键盘 %1"},
    // Names of the window's other controls.
    {"Function of the selected key", u8"所选按键的功能"},
    {"Function pages", u8"功能页面"},
    {"Delay in milliseconds", u8"延时（毫秒）"},
    {"Key %1 delay in milliseconds", u8"按键 %1 延时（毫秒）"},
    {"unsaved changes", u8"有未保存的更改"},
    // The lighting page's colour panel.
    {"Selected Key Color", u8"所选按键颜色"},
    {"Select a key, then pick its color or type its code. Some effects use it, others ignore it.",
     u8"先选择按键，再选取颜色或输入颜色代码。部分灯效使用该颜色，其他灯效会忽略它。"},
    {"Color code", u8"颜色代码"},
    {"Color picker", u8"颜色选择器"},
    {"Selected LED Color", u8"所选灯珠颜色"},
    {"LED color %1", u8"灯光颜色 %1"},
    {"Left and Right change the saturation, Up and Down the brightness, Page Up and Page Down "
     "the hue",
     u8"左右方向键调整饱和度，上下方向键调整亮度，Page Up 和 Page Down 调整色相"},
    // The window's menus, the names of the history's steps and what the
    // status line says after an edit, an undo or a redo.
    {"key %1", u8"按键 %1"},
    {"knob %1 turn left", u8"旋钮 %1 左旋"},
    {"knob %1 turn right", u8"旋钮 %1 右旋"},
    {"knob %1 press", u8"旋钮 %1 按下"},
    {"knob %1 press and turn right", u8"旋钮 %1 按住右旋"},
    {"knob %1 press and turn left", u8"旋钮 %1 按住左旋"},
    {"%1 on %2", u8"%2 设为 %1"},
    {"Clear %1", u8"清除%1"},
    {"Clear layer %1", u8"清除第%1层"},
    {"Macro on %1", u8"%1 的宏"},
    {"Delay on %1", u8"%1 的延时"},
    {"Lighting of layer %1", u8"第%1层灯光"},
    {"Paste on %1", u8"粘贴到%1"},
    {"Swap %1 and %2", u8"交换%1和%2"},
    {"Copy to layer %1", u8"复制到第%1层"},
    {"Undo: %1", u8"撤销：%1"},
    {"Redo: %1", u8"重做：%1"},
    {"Cleared layer %1 \u2014 %2 undoes it", u8"已清除第%1层，按 %2 可撤销"},
    {"Pasted on %1", u8"已粘贴到%1"},
    {"Swapped %1 and %2", u8"已交换%1和%2"},
    {"Undone: %1", u8"已撤销：%1"},
    {"Redone: %1", u8"已重做：%1"},
    {"&File", u8"文件(&F)"},
    {"&Edit", u8"编辑(&E)"},
    {"&Help", u8"帮助(&H)"},
    {"Save to keypad", u8"保存到设备"},
    {"Reload from keypad", u8"从设备重新读取"},
    {"Quit", u8"退出"},
    {"Copy layer to\u2026", u8"复制本层到…"},
    {"Keyboard shortcuts", u8"键盘快捷键"},
    {"Troubleshooting", u8"故障排除"},
    {"About Zentrik", u8"关于 Zentrik"},
    {"Command", u8"命令"},
    {"Shortcut", u8"快捷键"},
    {"Close", u8"关闭"},
    {"Show layer 1 to 4", u8"显示第1至4层"},
    {"Select the next key", u8"选择相邻按键"},
    {"Arrow keys", u8"方向键"},
    {"Menu of the selected key", u8"所选按键的菜单"},
    {"Swap two keys", u8"交换两个按键"},
    {"Drag one key onto the other", u8"将一个按键拖到另一个上"},
    {"Open a menu", u8"打开菜单"},
    {"Alt + the underlined letter", u8"Alt + 带下划线的字母"},
    {"Zentrik needs permission to open the keypad. When the status line says there is "
     "no access, your user may not open the keypad's device.",
     u8"Zentrik 需要权限才能打开设备。状态栏提示无权访问时，说明当前用户无法打开该设备。"},
    {"On Linux, the udev rule that comes with Zentrik (70-zentrik.rules) gives that "
     "access to the user at the computer. The package installs it; after cmake "
     "--install with a prefix other than /usr, copy it to /etc/udev/rules.d. Then "
     "reload the rules and plug the keypad in again:",
     u8"在 Linux 上，Zentrik 附带的 udev 规则（70-zentrik.rules）会把访问权限授予正在使用这台电脑的用户。"
     u8"安装包会自动安装该规则；若用 cmake --install 安装到 /usr 以外的前缀，请把它复制到 /etc/udev/rules.d。"
     u8"然后重新加载规则并重新插入设备："},
    {"The rule holds one line for each keypad Zentrik knows, such as:",
     u8"该规则为 Zentrik 支持的每种设备写有一行，例如："},
    {"Only one program can use the keypad at a time: close other programs that configure it.",
     u8"同一时间只能有一个程序使用设备：请关闭其他配置该设备的程序。"},
    {"Configurator for USB macro keypads.", u8"USB 宏键盘配置工具。"},
    {"Zentrik is free software under GPL-3.0-or-later: the GNU General Public License, "
     "version 3 or any later version.",
     u8"Zentrik 是自由软件，依据 GPL-3.0-or-later（GNU 通用公共许可证第 3 版或任意更高版本）发布。"},
    {"Uses Qt %1 and hidapi %2", u8"使用 Qt %1 和 hidapi %2"},
    {"An object in the file names \"%1\" twice", u8"文件中有一个对象两次使用名称“%1”"},
    {"%1 must be true or false", u8"%1 必须为 true 或 false"},
    {"lighting effect %1: this keypad cannot show it", u8"灯效 %1：此设备无法显示"},
    {"The file could not be read: it does not exist.", u8"无法读取文件：文件不存在。"},
    {"This is a folder, not a keypad file. Nothing was changed.",
     u8"这是一个文件夹，不是设备配置文件。未做任何更改。"},
    {"This is not a regular file (a pipe, a device or a socket) and is not read. Nothing was "
     "changed.",
     u8"这不是普通文件（而是管道、设备或套接字），不会被读取。未做任何更改。"},
    {"%1 already exists. Do you want to replace it?", u8"%1 已存在。要替换它吗？"},
    {"The keypad is being read. Export again once it is done.",
     u8"正在读取设备。读取完成后请重新导出。"},
    {"The keypad was disconnected while the dialog was open. Nothing was written.",
     u8"对话框打开期间设备已断开。未写入任何内容。"},
    {"Save progress", u8"保存进度"},
    {"Macro saved to %1; other edits not yet saved", u8"宏已保存到%1；其他更改尚未保存"},
    {"Macro saved to %1", u8"宏已保存到%1"},
    {"Saved. Lighting sent, not checked", u8"已保存。灯光已发送，未校验"},
    {"This keypad cannot report its lighting, so the lighting was sent but could not be "
     "checked.",
     u8"此设备无法回报其灯光设置，因此灯光已发送但无法校验。"},
    {"The keypad from a script.", u8"用脚本操作设备。"},
    {"Output as JSON.", u8"以 JSON 输出。"},
    {"The keypad: its path or its number in list.", u8"设备：其路径或在 list 中的序号。"},
    {"Only this layer, from 1.", u8"只处理这一层，从 1 开始。"},
    {"Only these layers, from 1, such as 1,3.", u8"只处理这些层，从 1 开始，例如 1,3。"},
    {"Leave the lighting as it is.", u8"保持灯光不变。"},
    {"Print the differences and write nothing.", u8"列出差异，不写入任何内容。"},
    {"Usage: zentrikctl list | show | export FILE | diff FILE | apply FILE (zentrikctl --help "
     "tells more)",
     u8"用法：zentrikctl list | show | export 文件 | diff 文件 | apply 文件（zentrikctl --help 查看更多）"},
    {"Layers count from 1 to %1: %2", u8"层号范围为 1 到 %1：%2"},
    {"Zentrik's window is open and holds the keypad: use the window, or close it first.",
     u8"Zentrik 窗口已打开并占用设备：请在窗口中操作，或先关闭窗口。"},
    {"Zentrik's window holds it", u8"Zentrik 窗口正在使用"},
    {"No supported keypad is plugged in.", u8"未插入受支持的设备。"},
    {"No keypad %1: zentrikctl list shows the keypads plugged in.",
     u8"没有设备 %1：zentrikctl list 可列出已插入的设备。"},
    {"The keypad could not be opened.", u8"无法打开设备。"},
    {"The keypad did not answer.", u8"设备没有应答。"},
    {"Saving %1 of %2", u8"正在保存 %1/%2"},
    {"The keypad does not hold the file after the save.", u8"保存后设备中的配置与文件不一致。"},
    {"Saved; the keypad holds the file.", u8"已保存；设备中的配置与文件一致。"},
    {"%1 layers", u8"%1 层"},
    {"Lighting: effect %1, colours %2", u8"灯光：灯效 %1，颜色 %2"},
    {"Layer %1, lighting: effect %2, colours %3", u8"第 %1 层，灯光：灯效 %2，颜色 %3"},
    {"Not held: %1", u8"无法保存：%1"},
    {"Type text…", u8"输入文字…"},
    {"Insert key…", u8"插入按键…"},
    {"Delete steps", u8"删除步骤"},
    {"Duplicate steps", u8"重复步骤"},
    {"Move earlier", u8"前移"},
    {"Move later", u8"后移"},
    {"Set delay…", u8"设置延时…"},
    {"Select all steps", u8"全选步骤"},
    {"Macro steps", u8"宏步骤"},
    {"Delay of the selected steps (ms)", u8"所选步骤的延时（毫秒）"},
    {"Running time %1 s · %2 of %3 steps used", u8"运行时间 %1 秒 · 已用 %2/%3 步"},
    {"Types on %1: %2", u8"在%1布局上输入：%2"},
    {"Pressed and never released: %1", u8"按下后未松开：%1"},
    {"Released and never pressed: %1", u8"未按下就松开：%1"},
    {"Add the missing releases", u8"补上缺少的松开"},
    {"Type text", u8"输入文字"},
    {"Keyboard layout", u8"键盘布局"},
    {"Reading the keyboard layout…", u8"正在读取键盘布局…"},
    {"Text to type", u8"要输入的文字"},
    {"Delay between keys", u8"按键间隔"},
    {"Add", u8"添加"},
    {"Desktop layout (%1)", u8"桌面布局（%1）"},
    {"%1 steps of the %2 this key still has room for", u8"需要 %1 步，此按键还可容纳 %2 步"},
    {"This layout cannot be read.", u8"无法读取此键盘布局。"},
    {"Cannot be typed on this layout, left out: %1", u8"此布局无法输入，不会添加：%1"},
    {"This text needs %1 steps, but the key has room for %2 more: shorten the text.",
     u8"这段文字需要 %1 步，但此按键只能再容纳 %2 步：请缩短文字。"},
    {"This keypad plays every press after one common delay: the delay between keys does "
     "not apply.",
     u8"此键盘以同一延时播放每次按下：按键间隔不适用。"},
    {"Click the key to insert into the macro.", u8"点击要插入宏中的按键。"},
};

// The first 139 rows are the interface's original texts and keep their
// order; rows for texts added since follow them.
static_assert(sizeof(kTextPairs) / sizeof(kTextPairs[0]) >= 139,
              "the interface's 139 original texts come first");

// Set once at start from the settings file; atomic, so a text built on a
// worker thread reads it safely.
std::atomic<bool> heldChinese{false};

} // namespace

const QVector<TranslationPair> &translationTable()
{
    // Built on first use and kept for the life of the process.
    static const QVector<TranslationPair> table = [] {
        QVector<TranslationPair> pairs;
        pairs.reserve(int(std::size(kTextPairs)));
        for (const TextPair &pair : kTextPairs)
            pairs.append({QString::fromUtf8(pair.english), QString::fromUtf8(pair.chinese)});
        return pairs;
    }();
    return table;
}

namespace {

QString lookUp(const QString &text, bool useChinese)
{
    for (const TranslationPair &pair : translationTable()) {
        if (useChinese && pair.first == text)
            return pair.second;
        if (!useChinese && pair.second == text)
            return pair.first;
    }
    return text;
}

} // namespace

void setInterfaceChinese(bool useChinese)
{
    heldChinese.store(useChinese, std::memory_order_relaxed);
}

bool interfaceIsChinese()
{
    return heldChinese.load(std::memory_order_relaxed);
}

QString translateText(const QString &text)
{
    return lookUp(text, interfaceIsChinese());
}

QString translateText(const char *english)
{
    return translateText(QString::fromUtf8(english));
}

QString translateCount(int count, const char *one, const char *many)
{
    return count == 1 ? translateText(one) : translateText(many).arg(count);
}
