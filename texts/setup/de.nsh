; German (Germany).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"

LangString FolderRefused ${LANG_GERMAN} "$INSTDIR enthält bereits andere Dateien. Wendrift wird nur in einen neuen oder leeren Ordner oder in den Ordner des installierten Wendrift installiert: Wählen Sie einen anderen Ordner aus."
LangString FileInUse ${LANG_GERMAN} "$R9 wird verwendet und konnte nicht ersetzt werden. Schließen Sie die Programme, die die Datei verwenden (oder starten Sie Windows neu), und führen Sie das Setup erneut aus."
LangString WriteFailed ${LANG_GERMAN} "$R9 konnte nicht in $INSTDIR geschrieben werden (ist der Datenträger voll?). Das Setup wurde beendet und hat die installierten Dateien unverändert gelassen."
LangString ProtectionFailed ${LANG_GERMAN} "$R9 konnte nicht geschützt werden (Fehler $R6): Wendrift wurde dort nicht installiert."
LangString RegistrationFailed ${LANG_GERMAN} "Wendrift.dll konnte nicht registriert werden."
LangString FolderKept ${LANG_GERMAN} "Wendrift wurde entfernt. $INSTDIR bleibt erhalten: Der Ordner enthält Dateien, die nicht von Wendrift stammen; sie sind dort in ${UNINSTALL_LOG} aufgeführt."
LangString KeptFilesHeading ${LANG_GERMAN} "Wendrift wurde deinstalliert. Diese Dateien stammen nicht von Wendrift und wurden beibehalten:"
