// The ids of every text a user reads, for the string tables of both programs and the code
// that shows them. The texts themselves live in one file per language beside this one
// (en.rc, de.rc, ...), each a complete set of the same ids; Texts.rc puts them all into
// each program, its own texts only (WENDRIFT_LIBRARY_TEXTS, WENDRIFT_CONFIG_TEXTS, and the
// shared ones always).
//
// Adding a text: one #define here, in the range of the program that shows it, and one line in
// every language file, in the same section. English (en.rc) is the default and the fallback:
// a text missing from another language is shown in English.
//
// Rules every language keeps (the text tests check them in the built programs):
// - the same printf placeholders (%s, %d, %I64d, %02d, %lu, %08lX, %%) in the same order;
// - a menu title or dialog control keeps exactly one access key ("&"), and the keys of one
//   menu or dialog differ; a literal "&" is written "&&"; in Japanese, Chinese and Korean the
//   key is the English letter in brackets at the end: "コピー先(&Y)";
// - the words Windows itself uses in that language for copy, move, replace, cancel and folder.
// Files are UTF-8 (#pragma code_page(65001)) with plain "..." strings, so that every resource
// compiler reads them alike; a quote inside a text is written "".
//
// Ranges: 100-199 shared by both programs, 200-399 the library (Wendrift.dll), 400-599 the
// configuration program. String tables are loaded in blocks of 16 ids.
#pragma once

// Shared: the folder picker's rule and its fallback question.
#define IDS_CANT_ADD_DIRECTORY_CAPTION 100   // "Wendrift : Can't add directory"
#define IDS_RECYCLE_BIN_REFUSED 101
#define IDS_NOT_A_VALID_DIRECTORY 102        // %s: the folder
#define IDS_REMEMBER_CAPTION 103             // "Wendrift : Remember"
#define IDS_FAILED_TO_CREATE_DIALOG 104
#define IDS_OK 105
#define IDS_CANCEL 106                       // "&Cancel"

// Library: the menus and their help texts.
#define IDS_COPY_TO 200                      // "Cop&y To"; without its key, the Windows 11 title
#define IDS_MOVE_TO 201                      // "&Move To"
#define IDS_NO_DIRECTORIES 202               // "<no directories>"
#define IDS_OTHER_FOLDER 203                 // "&Other folder..."
#define IDS_COPY_HELP 204
#define IDS_MOVE_HELP 205
#define IDS_COPY_PICK_HELP 206
#define IDS_MOVE_PICK_HELP 207
// "Other folder...": the picker.
#define IDS_PICK_COPY_ONE 208                // "Copy %s to"
#define IDS_PICK_MOVE_ONE 209
#define IDS_PICK_COPY_MANY 210               // "Copy %I64d files to"
#define IDS_PICK_MOVE_MANY 211
#define IDS_REMEMBER_LABEL 212               // %s: the extension
#define IDS_REMEMBER_QUESTION 213            // %s: the extension
#define IDS_ERROR_CAPTION 214                // "Wendrift : ERROR"
#define IDS_NOT_ADDED_FOR_THIS_TRANSFER 215  // %s folder, %s extension
#define IDS_FATAL_CAPTION 216                // "Wendrift : FATAL ERROR"
#define IDS_TRANSFER_NOT_STARTED 217
#define IDS_UNINSTALL_CAPTION 218
#define IDS_UNREGISTER_FAILED 219            // %s: the extension
// The transfer's messages.
#define IDS_NOT_AVAILABLE_CAPTION 224
#define IDS_NOT_AVAILABLE 225                // %s folder, %s system text, %s IDS_NOTHING_*
#define IDS_NOT_AVAILABLE_UNREACHABLE 226    // the same, its drive or share out of reach
#define IDS_NOT_FOUND_CAPTION 227
#define IDS_NOT_FOUND_ASSOCIATED 228         // %s: the folder
#define IDS_NOT_FOUND_PICKED 229             // %s: the folder
#define IDS_CREATE_FAILED 230                // %s folder, %s system text, %s IDS_NOTHING_*, %d error
#define IDS_REMOVING_ASSOCIATION_CAPTION 231
#define IDS_REMOVING_ASSOCIATION 232         // %s: the folder
#define IDS_NOTHING_TRANSFERRED_KEPT 233
#define IDS_NOTHING_TRANSFERRED 234
#define IDS_CANT_COPY_CAPTION 235
#define IDS_CANT_MOVE_CAPTION 236
#define IDS_PATH_TOO_LONG 237                // %s: the target path
#define IDS_FATAL_INTERNAL_ERROR 238
#define IDS_SAME_FILE 239                    // %s source, %s target
#define IDS_COPY_FAILED 240                  // %s source, %s target, %s system text, %s IDS_CONTINUE_QUESTION or nothing
#define IDS_MOVE_FAILED 241
#define IDS_CONTINUE_QUESTION 242
#define IDS_ERROR_NUMBER 243                 // "Error %lu (0x%08lX)\r\n"
#define IDS_FAILED_TO_START_WORKER 244
// The progress dialog.
#define IDS_PROGRESS_GROUP 248               // "Progress"
#define IDS_COPYING 249
#define IDS_MOVING 250
#define IDS_ELAPSED 251                      // %02d:%02d:%02d
#define IDS_OVERALL 252                      // %d file, %d of files, %I64d percent
#define IDS_CURRENT_FILE_STARTED 253         // %s name, %I64d percent: "Current file '%s' : ..."
#define IDS_CURRENT_FILE 254                 // the same once the platform reported progress
#define IDS_RATE_CALCULATING 255
#define IDS_RATE_KB 256                      // %s: the figure in the user's number format
#define IDS_RATE_MB 257
#define IDS_PAUSE 258                        // "&Pause"; its key differs from Cancel's
#define IDS_RESUME 259                       // "&Resume", the same button while paused
#define IDS_RATE_PAUSED 260                  // "Transfer Rate: paused"
#define IDS_BAR_VALUE 261                    // %d: a bar's percentage, for screen readers
// The replace question.
#define IDS_REPLACE_CAPTION 264              // "Confirm File Replace"
#define IDS_YES 265
#define IDS_YES_TO_ALL 266
#define IDS_NO 267
#define IDS_WITH_THIS_FILE 268               // "with this file? :"
#define IDS_REPLACE_QUESTION 269             // %s: the file's name
#define IDS_FILE_DESCRIPTION 270             // %s bytes, %s size, %s created, %s modified
#define IDS_SIZE_BYTES 271                   // %s: the figure in the user's number format
#define IDS_SIZE_KB 272
#define IDS_SIZE_MB 273
#define IDS_SIZE_GB 274
#define IDS_SIZE_TB 275
// Files already in the destination: one notice for the whole selection.
#define IDS_OWN_FOLDER_CAPTION 276           // "Wendrift : Already there"
#define IDS_OWN_FOLDER_ONE 277               // %s: the folder
#define IDS_OWN_FOLDER_ALL 278               // %s: the folder
#define IDS_OWN_FOLDER_SOME 279              // %I64d how many, %s the folder

// Configuration program: the main dialog.
#define IDS_CONFIG_CAPTION 400               // "Wendrift Configuration"
#define IDS_ABOUT_BUTTON 401
#define IDS_ADD_BUTTON 402                   // "&Add..."
#define IDS_EDIT_BUTTON 403
#define IDS_REMOVE_BUTTON 404                // "&Remove"
#define IDS_COLUMN_EXTENSION 405
#define IDS_COLUMN_DESCRIPTION 406
#define IDS_COLUMN_DIRECTORIES 407
#define IDS_LANGUAGE_LABEL 408               // "&Language:"
#define IDS_DISPLAY_LANGUAGE 409             // "Windows display language"
#define IDS_LANGUAGE_NAME 410                // this language in its own words: "Deutsch"
#define IDS_CONFIG_ERROR_CAPTION 411         // "WendriftConfig : ERROR"
#define IDS_CONFIG_INFO_CAPTION 412
#define IDS_NO_EXTENSION_TO_EDIT 413
#define IDS_LISTVIEW_UPDATE_FAILED 414
#define IDS_LISTVIEW_ADD_FAILED 415
#define IDS_NO_ITEMS_TO_EDIT 416
#define IDS_NO_ITEMS_TO_REMOVE 417
#define IDS_NO_EXTENSION_TO_REMOVE 418
#define IDS_REMOVAL_CAPTION 419
#define IDS_REMOVAL_QUESTION 420             // %s: the extension
#define IDS_REMOVAL_FAILED 421
#define IDS_OS_TOO_OLD 422
#define IDS_OS_TOO_OLD_CAPTION 423
#define IDS_LIBRARY_MISSING 424
#define IDS_MAIN_DIALOG_FAILED 425
// The extension dialog.
#define IDS_FILE_TYPE_GROUP 432              // "File Type: %s"
#define IDS_DIRECTORIES_LABEL 433            // "Directories:"
#define IDS_EXTENSION_TITLE 434              // "Wendrift: [%s]"
#define IDS_NONE 435                         // "<none>"
#define IDS_ALREADY_ASSOCIATED 436           // %s: the extension
#define IDS_NO_DIRECTORIES_CAPTION 437
#define IDS_NO_DIRECTORIES_QUESTION 438      // %s: the extension
#define IDS_SAVE_CHANGES_CAPTION 439
#define IDS_SAVE_CHANGES_QUESTION 440        // %s: the extension
#define IDS_UNUSABLE_EXTENSION 441           // %s: the extension
#define IDS_NO_EXTENSION_SUPPLIED 442
#define IDS_REGISTERING_FAILED 443
#define IDS_ADDING_DIRECTORY_FAILED 444
#define IDS_CHOOSE_DIRECTORY 445             // %s: the extension
#define IDS_STORING_DIRECTORY_FAILED 446
#define IDS_DIRECTORY_ALREADY_ASSOCIATED 447 // %s folder, %s extension
#define IDS_NO_DIRECTORY_SELECTED 448
#define IDS_REMOVING_DIRECTORY_FAILED 449
// The About box.
#define IDS_ABOUT_CAPTION 456                // "About Wendrift"
#define IDS_ABOUT_VERSION 457                // %s: the version
#define IDS_ABOUT_PLATFORM 458
#define IDS_ABOUT_FAILED 459
#define IDS_BROWSER_FAILED 460
