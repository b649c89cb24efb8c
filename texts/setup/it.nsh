; Italian (Italy).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Italian.nlf"

LangString FolderRefused ${LANG_ITALIAN} "$INSTDIR contiene già altri file. Wendrift si installa solo in una cartella nuova o vuota, oppure nella cartella del Wendrift installato: scegliere un'altra cartella."
LangString FileInUse ${LANG_ITALIAN} "$R9 è in uso e non è stato possibile sostituirlo. Chiudere i programmi che lo usano (o riavviare Windows) ed eseguire di nuovo l'installazione."
LangString WriteFailed ${LANG_ITALIAN} "Impossibile scrivere $R9 in $INSTDIR (il disco è pieno?). L'installazione è stata interrotta e ha lasciato invariati i file installati."
LangString ProtectionFailed ${LANG_ITALIAN} "Impossibile proteggere $R9 (errore $R6): Wendrift non è stato installato in questa posizione."
LangString RegistrationFailed ${LANG_ITALIAN} "Impossibile registrare Wendrift.dll."
LangString FolderKept ${LANG_ITALIAN} "Wendrift è stato rimosso. $INSTDIR viene mantenuta: contiene file che non provengono da Wendrift, elencati al suo interno in ${UNINSTALL_LOG}."
LangString KeptFilesHeading ${LANG_ITALIAN} "Wendrift è stato disinstallato. Questi file non erano di Wendrift e sono stati mantenuti:"
