; Spanish (modern sort).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\SpanishInternational.nlf"

LangString FolderRefused ${LANG_SPANISHINTERNATIONAL} "$INSTDIR ya contiene otros archivos. Wendrift solo se instala en una carpeta nueva o vacía, o en la carpeta del Wendrift instalado: elija otra carpeta."
LangString FileInUse ${LANG_SPANISHINTERNATIONAL} "$R9 está en uso y no se pudo reemplazar. Cierre los programas que lo usan (o reinicie Windows) y vuelva a ejecutar el programa de instalación."
LangString WriteFailed ${LANG_SPANISHINTERNATIONAL} "No se pudo escribir $R9 en $INSTDIR (¿está lleno el disco?). El programa de instalación se detuvo y dejó los archivos instalados como estaban."
LangString ProtectionFailed ${LANG_SPANISHINTERNATIONAL} "No se pudo proteger $R9 (error $R6): Wendrift no se instaló allí."
LangString RegistrationFailed ${LANG_SPANISHINTERNATIONAL} "No se pudo registrar Wendrift.dll."
LangString FolderKept ${LANG_SPANISHINTERNATIONAL} "Se quitó Wendrift. $INSTDIR se conserva: contiene archivos que Wendrift no instaló, enumerados allí en ${UNINSTALL_LOG}."
LangString KeptFilesHeading ${LANG_SPANISHINTERNATIONAL} "Se desinstaló Wendrift. Estos archivos no eran de Wendrift y se conservaron:"
