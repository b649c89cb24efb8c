; Korean (Korea).
LoadLanguageFile "${NSISDIR}\Contrib\Language files\Korean.nlf"

LangString FolderRefused ${LANG_KOREAN} "$INSTDIR에 이미 다른 파일이 있습니다. Wendrift는 새 폴더나 빈 폴더, 또는 설치된 Wendrift의 폴더에만 설치됩니다. 다른 폴더를 선택하세요."
LangString FileInUse ${LANG_KOREAN} "$R9 파일이 사용 중이어서 바꿀 수 없습니다. 이 파일을 사용하는 프로그램을 닫고(또는 Windows를 다시 시작하고) 설치 프로그램을 다시 실행하세요."
LangString WriteFailed ${LANG_KOREAN} "$R9 파일을 $INSTDIR에 쓸 수 없습니다(디스크가 꽉 찼습니까?). 설치를 중지했으며 설치된 파일은 그대로 두었습니다."
LangString ProtectionFailed ${LANG_KOREAN} "$R9을(를) 보호할 수 없습니다(오류 $R6). Wendrift가 해당 위치에 설치되지 않았습니다."
LangString RegistrationFailed ${LANG_KOREAN} "Wendrift.dll을 등록할 수 없습니다."
LangString FolderKept ${LANG_KOREAN} "Wendrift를 제거했습니다. $INSTDIR 폴더는 남겨 두었습니다. Wendrift가 설치하지 않은 파일이 있으며, 그 목록은 이 폴더의 ${UNINSTALL_LOG}에 있습니다."
LangString KeptFilesHeading ${LANG_KOREAN} "Wendrift를 제거했습니다. 다음 파일은 Wendrift의 파일이 아니므로 남겨 두었습니다:"
