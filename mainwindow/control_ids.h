#pragma once
// Child window and menu command identifiers of the main window.

namespace control_id {
enum : int {
  kBanner = 100,          // 图片框底座
  kHelpPicture,           // 图片疑点说明
  kHelpLink,              // 链接疑点说明
  kList,                  // 列表框
  kOptionsGroup,          // 分组框1
  kStartButton,           // 按钮启动备份监视
  kFilesLabel,            // 标签4
  kFilesBox,              // 编辑框要备份文件
  kChooseFilesButton,     // 按钮选择文件
  kTemplateLabel,         // 标签2
  kTemplateBox,           // 编辑框备份到路径
  kClearTemplateButton,   // 按钮清除内容
  kRefreshLabel,          // 标签1
  kRefreshBox,            // 编辑框刷新监视秒
  kKeepLabel,             // 标签3
  kKeepBox,               // 编辑框保持备份数
  kAddButton,             // 按钮添加
  kDeleteButton,          // 按钮删除
  kFirstTagButton = 200,  // 按钮目录路径 .. 按钮序号, thirteen in a row
};
}  // namespace control_id

namespace menu_id {
enum : int {
  kOpenPath = 300,     // 打开路径
  kOpenBackupPath,     // 打开备份路径
  kResetSequence,      // 重置备份序号
  kTickAll,            // 全打勾
  kUntickAll,          // 全不打勾
  kAutostart,          // 开机启动
};
}  // namespace menu_id
