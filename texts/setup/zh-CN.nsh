; Chinese (simplified, China).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SimpChinese.nlf"

LangString FolderRefused ${LANG_SIMPCHINESE} "$INSTDIR 中已有其他文件。Wendrift 只能安装到新的或空的文件夹,或已安装的 Wendrift 所在的文件夹: 请选择其他文件夹。"
LangString FileInUse ${LANG_SIMPCHINESE} "$R9 正在使用,无法替换。请关闭使用它的程序(或重新启动 Windows),然后重新运行安装程序。"
LangString WriteFailed ${LANG_SIMPCHINESE} "无法将 $R9 写入 $INSTDIR (磁盘是否已满?)。安装程序已停止,已安装的文件保持原样。"
LangString ProtectionFailed ${LANG_SIMPCHINESE} "无法保护 $R9 (错误 $R6): Wendrift 未安装到该位置。"
LangString RegistrationFailed ${LANG_SIMPCHINESE} "无法注册 Wendrift.dll。"
LangString FolderKept ${LANG_SIMPCHINESE} "已删除 Wendrift。$INSTDIR 已保留: 其中有不是 Wendrift 安装的文件,这些文件列在该文件夹的 ${UNINSTALL_LOG} 中。"
LangString KeptFilesHeading ${LANG_SIMPCHINESE} "已卸载 Wendrift。以下文件不属于 Wendrift,已保留:"
