# The Windows 11 sparse packages, built with everything else: the signing certificate (this
# machine's development key unless WENDRIFT_SIGNING_PFX names a release one), the logos (from
# the product's drawing), one packed and signed package per first-menu entry and architecture,
# the list of packages the installer registers (with the publisher id Windows derives from the
# certificate), and the public certificate the installer trusts when it is self-signed. Also the
# signed copies of the programs the setup ships (wendrift_signed_copy).
find_program(WENDRIFT_PYTHON python3 REQUIRED)
find_program(WENDRIFT_OPENSSL openssl REQUIRED)
find_program(WENDRIFT_OSSLSIGNCODE osslsigncode REQUIRED)

set(WENDRIFT_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(WENDRIFT_CERTIFICATE_FILE ${WENDRIFT_PACKAGE_DIR}/Wendrift.cer)
set(WENDRIFT_CERTIFICATE_PEM ${WENDRIFT_PACKAGE_DIR}/certificate.pem)
set(WENDRIFT_PACKAGES_NSIS ${WENDRIFT_PACKAGE_DIR}/packages.nsh)
set(package_tools ${CMAKE_SOURCE_DIR}/tools/package)
file(MAKE_DIRECTORY ${WENDRIFT_PACKAGE_DIR}/Assets)

# The release certificate is chosen when configuring; its password (and the timestamp server)
# is read from the environment when building and stored nowhere.
set(WENDRIFT_SIGNING_PFX "$ENV{WENDRIFT_SIGNING_PFX}" CACHE FILEPATH
    "PKCS#12 file of the release signing certificate (empty: this machine's development key)")
set(WENDRIFT_SIGNING_SCRIPT ${package_tools}/signing.sh)
set(WENDRIFT_SIGNING ${CMAKE_COMMAND} -E env WENDRIFT_SIGNING_PFX=${WENDRIFT_SIGNING_PFX}
    ${WENDRIFT_SIGNING_SCRIPT})

# Asked on every build (the development key lives outside the build folder and may be made
# anew); the files change, and rebuild what they sign, only when the certificate does.
add_custom_target(wendrift_certificate
  COMMAND ${WENDRIFT_SIGNING} certificate ${WENDRIFT_PACKAGE_DIR}
  BYPRODUCTS ${WENDRIFT_CERTIFICATE_PEM} ${WENDRIFT_CERTIFICATE_FILE}
  COMMENT "Signing certificate"
  VERBATIM)
set(WENDRIFT_CERTIFICATE_DEPENDS wendrift_certificate ${WENDRIFT_CERTIFICATE_PEM})

# Square150x150Logo and Square44x44Logo for the (hidden) application, StoreLogo for the package.
set(package_assets)
set(package_asset_args)
foreach(logo Square150x150Logo:150 Square44x44Logo:44 StoreLogo:50)
  string(REPLACE ":" ";" logo ${logo})
  list(GET logo 0 logo_name)
  list(GET logo 1 logo_pixels)
  set(png ${WENDRIFT_PACKAGE_DIR}/Assets/${logo_name}.png)
  wendrift_render_png(${png} ${logo_pixels})
  list(APPEND package_assets ${png})
  list(APPEND package_asset_args --asset Assets/${logo_name}.png=${png})
endforeach()

# wendrift_sparse_package(<entry> <display name> <command>): the package of one first-menu
# entry, which declares the one verb Wendrift<entry> and its class, WENDRIFT_<command>_CLASS_ID
# from the list the library is built from (shellext/entry/ClassIds.cmake), once per processor
# architecture the setup installs: package/Wendrift.<entry>.msix for x64 and
# package/arm64/Wendrift.<entry>.msix for ARM64, with the same identity name (one family: Windows
# holds one of them per user). The name is appended to the global property
# WENDRIFT_PACKAGE_NAMES, each file to WENDRIFT_PACKAGE_FILES.
function(wendrift_sparse_package entry display command)
  set(name Wendrift.${entry})
  set(template ${WENDRIFT_PACKAGE_DIR}/${name}.xml.in)
  file(READ ${package_tools}/AppxManifest.xml.in manifest)
  string(REPLACE "@DISPLAY_NAME@" "${display}" manifest "${manifest}")
  string(REPLACE "@VERB_ID@" "Wendrift${entry}" manifest "${manifest}")
  string(REPLACE "@CLASS_ID@" "${WENDRIFT_${command}_CLASS_ID}" manifest "${manifest}")
  file(WRITE ${template}.new "${manifest}")
  configure_file(${template}.new ${template} COPYONLY)

  foreach(architecture x64 arm64)
    set(folder ${WENDRIFT_PACKAGE_DIR})
    if(architecture STREQUAL "arm64")
      set(folder ${WENDRIFT_PACKAGE_DIR}/arm64)
    endif()
    set(unsigned ${folder}/${name}-unsigned.msix)
    set(signed ${folder}/${name}.msix)
    add_custom_command(OUTPUT ${unsigned}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${WENDRIFT_PYTHON} ${package_tools}/pack.py package
              --certificate ${WENDRIFT_CERTIFICATE_PEM} --name ${name}
              --version ${PROJECT_VERSION} --architecture ${architecture} --template ${template}
              ${package_asset_args} --out ${unsigned}
      DEPENDS ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_assets} ${package_tools}/pack.py
              ${package_tools}/msix.py ${template}
      COMMENT "Packing ${name}.msix (${architecture})"
      VERBATIM)
    add_custom_command(OUTPUT ${signed}
      COMMAND ${WENDRIFT_SIGNING} sign ${unsigned} ${signed}
      DEPENDS ${unsigned} ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_tools}/signing.sh
      COMMENT "Signing ${name}.msix (${architecture})"
      VERBATIM)
    set_property(GLOBAL APPEND PROPERTY WENDRIFT_PACKAGE_FILES ${signed})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY WENDRIFT_PACKAGE_NAMES ${name})
endfunction()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${package_tools}/AppxManifest.xml.in)

wendrift_sparse_package(CopyTo "Wendrift Copy To" COPY_COMMAND)
wendrift_sparse_package(MoveTo "Wendrift Move To" MOVE_COMMAND)
get_property(WENDRIFT_PACKAGE_NAMES GLOBAL PROPERTY WENDRIFT_PACKAGE_NAMES)
get_property(WENDRIFT_PACKAGE_FILES GLOBAL PROPERTY WENDRIFT_PACKAGE_FILES)
set(WENDRIFT_PACKAGE_ASSETS ${package_assets})

# What the installer registers, removes and checks: every package by name, every logo, the
# publisher id, and whether the certificate needs trusting.
set(name_args)
foreach(name IN LISTS WENDRIFT_PACKAGE_NAMES)
  list(APPEND name_args --name ${name})
endforeach()
add_custom_command(OUTPUT ${WENDRIFT_PACKAGES_NSIS}
  COMMAND ${WENDRIFT_PYTHON} ${package_tools}/pack.py identity
          --certificate ${WENDRIFT_CERTIFICATE_PEM} ${name_args} ${package_asset_args}
          --nsis ${WENDRIFT_PACKAGES_NSIS}
  DEPENDS ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_tools}/pack.py ${package_tools}/msix.py
  VERBATIM)
add_custom_target(wendrift_package ALL
  DEPENDS ${WENDRIFT_PACKAGE_FILES} ${WENDRIFT_CERTIFICATE_FILE} ${WENDRIFT_PACKAGES_NSIS})

# wendrift_signed_copy(<target> <file name> <variable> [<file>]): the target's file (or <file>,
# which the target makes) signed, as build/signed/<file name> (what the setup ships; the tests
# use the unsigned build), its path in <variable>.
set(WENDRIFT_SIGNED_DIR ${CMAKE_BINARY_DIR}/signed)
function(wendrift_signed_copy target name variable)
  set(file $<TARGET_FILE:${target}>)
  if(ARGC GREATER 3)
    set(file ${ARGV3})
  endif()
  set(signed ${WENDRIFT_SIGNED_DIR}/${name})
  get_filename_component(folder ${signed} DIRECTORY)
  add_custom_command(OUTPUT ${signed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${WENDRIFT_SIGNING} sign ${file} ${signed}
    DEPENDS ${target} ${file} ${WENDRIFT_CERTIFICATE_DEPENDS} ${WENDRIFT_SIGNING_SCRIPT}
    COMMENT "Signing ${name}"
    VERBATIM)
  set(${variable} ${signed} PARENT_SCOPE)
endfunction()
