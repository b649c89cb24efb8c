; French (France).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\French.nlf"

LangString FolderRefused ${LANG_FRENCH} "$INSTDIR contient déjà d'autres fichiers. Wendrift s'installe uniquement dans un dossier nouveau ou vide, ou dans le dossier du Wendrift installé : choisissez un autre dossier."
LangString FileInUse ${LANG_FRENCH} "$R9 est en cours d'utilisation et n'a pas pu être remplacé. Fermez les programmes qui l'utilisent (ou redémarrez Windows), puis exécutez de nouveau le programme d'installation."
LangString WriteFailed ${LANG_FRENCH} "Impossible d'écrire $R9 dans $INSTDIR (le disque est-il plein ?). L'installation s'est arrêtée et a laissé les fichiers installés tels quels."
LangString ProtectionFailed ${LANG_FRENCH} "Impossible de protéger $R9 (erreur $R6) : Wendrift n'y est pas installé."
LangString RegistrationFailed ${LANG_FRENCH} "Impossible d'inscrire Wendrift.dll."
LangString FolderKept ${LANG_FRENCH} "Wendrift a été supprimé. $INSTDIR est conservé : il contient des fichiers que Wendrift n'a pas apportés, répertoriés dans ${UNINSTALL_LOG} à cet emplacement."
LangString KeptFilesHeading ${LANG_FRENCH} "Wendrift a été désinstallé. Ces fichiers n'appartenaient pas à Wendrift et ont été conservés :"
