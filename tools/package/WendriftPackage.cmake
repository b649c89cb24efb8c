# The Windows 11 sparse package, built with everything else: the signing certificate (this
# machine's development key unless WENDRIFT_SIGNING_PFX names a release one), the package family
# name the installer checks, the logos (from the product's drawing), the manifest, the
# packed and the signed package, and the public certificate the installer trusts when it is
# self-signed. Also the signed copies of the programs the setup ships (wendrift_signed_copy).
find_program(WENDRIFT_PYTHON python3 REQUIRED)
find_program(WENDRIFT_OPENSSL openssl REQUIRED)
find_program(WENDRIFT_OSSLSIGNCODE osslsigncode REQUIRED)

set(WENDRIFT_PACKAGE_NAME Wendrift.Shell)
set(WENDRIFT_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set(WENDRIFT_PACKAGE_FILE ${WENDRIFT_PACKAGE_DIR}/Wendrift.msix)
set(WENDRIFT_CERTIFICATE_FILE ${WENDRIFT_PACKAGE_DIR}/Wendrift.cer)
set(WENDRIFT_CERTIFICATE_PEM ${WENDRIFT_PACKAGE_DIR}/certificate.pem)
set(WENDRIFT_IDENTITY_NSIS ${WENDRIFT_PACKAGE_DIR}/identity.nsh)
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

add_custom_command(OUTPUT ${WENDRIFT_IDENTITY_NSIS}
  COMMAND ${WENDRIFT_PYTHON} ${package_tools}/pack.py identity
          --certificate ${WENDRIFT_CERTIFICATE_PEM} --name ${WENDRIFT_PACKAGE_NAME}
          --nsis ${WENDRIFT_IDENTITY_NSIS}
  DEPENDS ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_tools}/pack.py ${package_tools}/msix.py
  VERBATIM)

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

# The commands' class ids come from the one list the library is built from
# (shellext/entry/ClassIds.cmake); pack.py fills in the rest.
set(manifest_template ${WENDRIFT_PACKAGE_DIR}/AppxManifest.xml.in)
file(READ ${package_tools}/AppxManifest.xml.in manifest)
foreach(command COPY_COMMAND MOVE_COMMAND)
  string(REPLACE "@${command}_CLASS_ID@" "${WENDRIFT_${command}_CLASS_ID}" manifest "${manifest}")
endforeach()
file(WRITE ${manifest_template}.new "${manifest}")
configure_file(${manifest_template}.new ${manifest_template} COPYONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${package_tools}/AppxManifest.xml.in)

set(unsigned_package ${WENDRIFT_PACKAGE_DIR}/Wendrift-unsigned.msix)
add_custom_command(OUTPUT ${unsigned_package}
  COMMAND ${WENDRIFT_PYTHON} ${package_tools}/pack.py package
          --certificate ${WENDRIFT_CERTIFICATE_PEM} --name ${WENDRIFT_PACKAGE_NAME}
          --version ${PROJECT_VERSION} --template ${manifest_template}
          ${package_asset_args} --out ${unsigned_package}
  DEPENDS ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_assets} ${package_tools}/pack.py
          ${package_tools}/msix.py ${manifest_template}
  COMMENT "Packing Wendrift.msix"
  VERBATIM)
add_custom_command(OUTPUT ${WENDRIFT_PACKAGE_FILE}
  COMMAND ${WENDRIFT_SIGNING} sign ${unsigned_package} ${WENDRIFT_PACKAGE_FILE}
  DEPENDS ${unsigned_package} ${WENDRIFT_CERTIFICATE_DEPENDS} ${package_tools}/signing.sh
  COMMENT "Signing Wendrift.msix"
  VERBATIM)
set(WENDRIFT_PACKAGE_ASSETS ${package_assets})
add_custom_target(wendrift_package ALL
  DEPENDS ${WENDRIFT_PACKAGE_FILE} ${WENDRIFT_CERTIFICATE_FILE} ${WENDRIFT_IDENTITY_NSIS})

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
