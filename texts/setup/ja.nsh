; Japanese (Japan).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"

LangString FolderRefused ${LANG_JAPANESE} "$INSTDIR には既に他のファイルがあります。Wendrift は、新しいフォルダーか空のフォルダー、またはインストール済みの Wendrift のフォルダーにのみインストールできます。別のフォルダーを選択してください。"
LangString FileInUse ${LANG_JAPANESE} "$R9 は使用中のため、置き換えられませんでした。このファイルを使用しているプログラムを閉じて (または Windows を再起動して)、セットアップをもう一度実行してください。"
LangString WriteFailed ${LANG_JAPANESE} "$R9 を $INSTDIR に書き込めませんでした (ディスクがいっぱいではありませんか?)。セットアップを中止しました。インストール済みのファイルは変更されていません。"
LangString ProtectionFailed ${LANG_JAPANESE} "$R9 を保護できませんでした (エラー $R6)。Wendrift はそこにインストールされていません。"
LangString RegistrationFailed ${LANG_JAPANESE} "Wendrift.dll を登録できませんでした。"
LangString FolderKept ${LANG_JAPANESE} "Wendrift を削除しました。$INSTDIR は残してあります。Wendrift がインストールしたものではないファイルがあるためです。それらのファイルは、このフォルダーの ${UNINSTALL_LOG} に記載されています。"
LangString KeptFilesHeading ${LANG_JAPANESE} "Wendrift をアンインストールしました。次のファイルは Wendrift のものではないため、残してあります:"

; The setup program's own Japanese writes this button in half-width katakana; Windows and the
; programs write アンインストール.
LangString ^UninstallBtn ${LANG_JAPANESE} "アンインストール(&U)"
