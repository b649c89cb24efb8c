; Russian (Russia).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Russian.nlf"

LangString FolderRefused ${LANG_RUSSIAN} "Папка $INSTDIR уже содержит другие файлы. Wendrift устанавливается только в новую или пустую папку либо в папку установленного Wendrift: выберите другую папку."
LangString FileInUse ${LANG_RUSSIAN} "Файл $R9 используется, и его не удалось заменить. Закройте программы, которые его используют (или перезапустите Windows), и снова запустите установку."
LangString WriteFailed ${LANG_RUSSIAN} "Не удалось записать $R9 в $INSTDIR (диск заполнен?). Установка остановлена, установленные файлы оставлены без изменений."
LangString ProtectionFailed ${LANG_RUSSIAN} "Не удалось защитить $R9 (ошибка $R6): Wendrift туда не установлен."
LangString RegistrationFailed ${LANG_RUSSIAN} "Не удалось зарегистрировать Wendrift.dll."
LangString FolderKept ${LANG_RUSSIAN} "Wendrift удален. Папка $INSTDIR сохранена: в ней есть файлы, которые не были установлены Wendrift; их список — в файле ${UNINSTALL_LOG} в этой папке."
LangString KeptFilesHeading ${LANG_RUSSIAN} "Wendrift удален. Эти файлы не принадлежат Wendrift и были сохранены:"
