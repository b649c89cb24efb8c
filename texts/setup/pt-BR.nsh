; Portuguese (Brazil).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\PortugueseBR.nlf"

LangString FolderRefused ${LANG_PORTUGUESEBR} "$INSTDIR já contém outros arquivos. O Wendrift só é instalado em uma pasta nova ou vazia, ou na pasta do Wendrift instalado: escolha outra pasta."
LangString FileInUse ${LANG_PORTUGUESEBR} "$R9 está em uso e não pôde ser substituído. Feche os programas que o estão usando (ou reinicie o Windows) e execute a instalação novamente."
LangString WriteFailed ${LANG_PORTUGUESEBR} "Não foi possível gravar $R9 em $INSTDIR (o disco está cheio?). A instalação foi interrompida e deixou os arquivos instalados como estavam."
LangString ProtectionFailed ${LANG_PORTUGUESEBR} "Não foi possível proteger $R9 (erro $R6): o Wendrift não foi instalado nesse local."
LangString RegistrationFailed ${LANG_PORTUGUESEBR} "Não foi possível registrar o Wendrift.dll."
LangString FolderKept ${LANG_PORTUGUESEBR} "O Wendrift foi removido. $INSTDIR foi mantida: ela contém arquivos que não vieram com o Wendrift, listados em ${UNINSTALL_LOG} nessa pasta."
LangString KeptFilesHeading ${LANG_PORTUGUESEBR} "O Wendrift foi desinstalado. Estes arquivos não eram do Wendrift e foram mantidos:"
