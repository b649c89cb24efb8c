; English (United States): the setup's and the uninstaller's texts, and theirs for every user whose
; language Wendrift has no texts for.
; Every language file holds every name below with the same $ variables and ${...} names (the
; setup fills them in; their order may follow the language); the pages and buttons come with
; the language file of the setup program itself. UTF-8.
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"

LangString FolderRefused ${LANG_ENGLISH} "$INSTDIR already holds other files. Wendrift installs only into a new or empty folder, or into the folder of the installed Wendrift: choose another folder."
LangString FileInUse ${LANG_ENGLISH} "$R9 is in use and could not be replaced. Close the programs that use it (or restart Windows) and run the setup again."
LangString WriteFailed ${LANG_ENGLISH} "$R9 could not be written to $INSTDIR (is the disk full?). The setup stopped and left the installed files as they were."
LangString ProtectionFailed ${LANG_ENGLISH} "$R9 could not be protected (error $R6): Wendrift is not installed there."
LangString RegistrationFailed ${LANG_ENGLISH} "Wendrift.dll could not be registered."
LangString FolderKept ${LANG_ENGLISH} "Wendrift was removed. $INSTDIR stays: it holds files that Wendrift did not bring, listed in ${UNINSTALL_LOG} there."
LangString KeptFilesHeading ${LANG_ENGLISH} "Wendrift was uninstalled. These files were not Wendrift's and were kept:"
