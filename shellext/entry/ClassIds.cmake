# Every COM class Wendrift.dll serves, its ProgID and the settings' registry keys, each written
# here and nowhere else. The library, the registration and the tests get them through the
# generated WendriftClassIds.h, the setup and its test through WendriftIds.nsh, the Windows 11
# package manifest through WendriftPackage.cmake, and a test holds the README to the ids: change
# one here and everything that ships follows.
set(WENDRIFT_PROGID "Wendrift.ShellCallback.1")   # the classic handler's ProgID
set(WENDRIFT_SETTINGS_KEY "Software\\Wendrift")  # under HKCU: the settings (Language and the rest)
set(WENDRIFT_STORE_KEY "${WENDRIFT_SETTINGS_KEY}\\Extensions")  # the associations
set(WENDRIFT_PICKER_KEY "${WENDRIFT_SETTINGS_KEY}\\Picker")  # what "Other folder..." remembers
set(WENDRIFT_CLASS_IDS
  ShellCallback=6C2D91B4-0F3E-4a58-9B17-E4D0A3C5F829  # the classic context-menu handler
  CopyCommand=0BD47E4C-8821-4616-B0BD-025A6CF2E971    # Windows 11 first menu, "Copy To"
  MoveCommand=EBD9E568-BE5C-4840-A89A-1C25F77782F2    # Windows 11 first menu, "Move To"
)

set(WENDRIFT_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)

# Writes WendriftClassIds.h (kShellCallbackClassId and kShellCallbackClassIdText, and so on,
# kProgId, kSettingsKey, kStoreBaseKey and kPickerKey) and WendriftIds.nsh
# (SHELL_CALLBACK_CLASS_ID and so on, PROGID, SETTINGS_KEY and STORE_KEY), and sets
# WENDRIFT_SHELL_CALLBACK_CLASS_ID and so on, the ids without braces.
function(wendrift_class_ids)
  set(hex "[0-9A-Fa-f]")
  set(hex4 "${hex}${hex}${hex}${hex}")
  set(pattern "^${hex4}${hex4}-${hex4}-${hex4}-${hex4}-${hex4}${hex4}${hex4}$")
  set(lines "")
  set(nsis "")
  foreach(entry IN LISTS WENDRIFT_CLASS_IDS)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 id)
    if(NOT id MATCHES "${pattern}")
      message(FATAL_ERROR "ClassIds.cmake: ${name} is not a class id: ${id}")
    endif()
    string(REGEX REPLACE "([A-Z])" "_\\1" upper "${name}")
    string(TOUPPER "WENDRIFT${upper}_CLASS_ID" variable)
    set(${variable} ${id} PARENT_SCOPE)
    string(TOUPPER "${upper}_CLASS_ID" define)
    string(REGEX REPLACE "^_" "" define "${define}")
    string(APPEND nsis "!define ${define} \"{${id}}\"\n")
    # The structure's fields, in the order the text spells them.
    string(SUBSTRING "${id}" 0 8 data1)
    string(SUBSTRING "${id}" 9 4 data2)
    string(SUBSTRING "${id}" 14 4 data3)
    string(REPLACE "-" "" tail "${id}")
    string(SUBSTRING "${tail}" 16 16 tail)
    string(REGEX REPLACE "(..)" "0x\\1, " bytes "${tail}")
    string(REGEX REPLACE ", $" "" bytes "${bytes}")
    string(APPEND lines
      "inline constexpr CLSID k${name}ClassId = {0x${data1}, 0x${data2}, 0x${data3}, {${bytes}}};\n"
      "inline constexpr wchar_t k${name}ClassIdText[] = L\"{${id}}\";\n")
  endforeach()
  string(APPEND lines "inline constexpr wchar_t kProgId[] = L\"${WENDRIFT_PROGID}\";\n")
  foreach(key Settings:SETTINGS StoreBase:STORE Picker:PICKER)
    string(REPLACE ":" ";" key ${key})
    list(GET key 0 name)
    list(GET key 1 upper)
    string(REPLACE "\\" "\\\\" text "${WENDRIFT_${upper}_KEY}")
    string(APPEND lines "inline constexpr wchar_t k${name}Key[] = L\"${text}\";\n")
  endforeach()
  string(APPEND nsis "!define PROGID \"${WENDRIFT_PROGID}\"\n"
                     "!define SETTINGS_KEY \"${WENDRIFT_SETTINGS_KEY}\"\n"
                     "!define STORE_KEY \"${WENDRIFT_STORE_KEY}\"\n")
  # Written only when it changes, so that a new configure rebuilds nothing.
  set(header ${WENDRIFT_GENERATED_DIR}/WendriftClassIds.h)
  file(WRITE ${header}.new "// Generated from shellext/entry/ClassIds.cmake: change the ids there.\n"
                           "#pragma once\n\n#include <windows.h>\n\n${lines}")
  configure_file(${header}.new ${header} COPYONLY)
  set(WENDRIFT_IDS_NSIS ${WENDRIFT_GENERATED_DIR}/WendriftIds.nsh PARENT_SCOPE)
  file(WRITE ${WENDRIFT_GENERATED_DIR}/WendriftIds.nsh.new
       "; Generated from shellext/entry/ClassIds.cmake: change the ids there.\n${nsis}")
  configure_file(${WENDRIFT_GENERATED_DIR}/WendriftIds.nsh.new
                 ${WENDRIFT_GENERATED_DIR}/WendriftIds.nsh COPYONLY)
endfunction()
wendrift_class_ids()
