# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack's External generator on the staged files, the same as the
# zip's: makes <name>-<version>-x64.msi with wixl (Debian's msitools).
# wixl-heat lists the files; wixl takes only paths relative to where it runs.
# Windows Installer reads no UTF-8: the MSI's strings are stored in the
# Cyrillic code page, which wixl and msibuild pick from WINDOWS_LANGUAGE
# (msibuild records it).
set(top ${CPACK_PACKAGE_FILE_NAME})
set(work ${CPACK_TOPLEVEL_DIRECTORY}/msi)
set(msi ${work}/${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-x64.msi)
file(REMOVE_RECURSE ${work})
file(MAKE_DIRECTORY ${work})
file(COPY ${CPACK_TEMPORARY_DIRECTORY}/ DESTINATION ${work}/${top})
file(COPY ${CPACK_NIHILIST_MSI_SOURCES}/nihilist-cipher.wxs ${CPACK_NIHILIST_MSI_SOURCES}/icon.ico DESTINATION ${work})
file(GLOB_RECURSE files RELATIVE ${work} ${work}/${top}/*)
list(FILTER files EXCLUDE REGEX "/nihilist-cipher\\.exe$")
list(SORT files)
list(JOIN files "\n" files)
file(WRITE ${work}/files.txt "${files}\n")
function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${work} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
run(wixl-heat -p ${top}/ --component-group Files --var var.SourceDir --directory-ref INSTALLDIR --win64
    INPUT_FILE ${work}/files.txt OUTPUT_FILE ${work}/files.wxs)
set(ENV{WINDOWS_LANGUAGE} bg)
run(wixl -a x64 -D SourceDir=${top} -D Win64=yes -o ${msi} nihilist-cipher.wxs files.wxs)
file(WRITE ${work}/_ForceCodepage.idt "\r\n\r\n1251\t_ForceCodepage\r\n")
run(msibuild ${msi} -i _ForceCodepage.idt)
# wixl has no AllowSameVersionUpgrades: the upgrade row that finds earlier
# versions also takes in this version itself (msidbUpgradeAttributesVersionMaxInclusive,
# 0x200), so that a rebuild replaces the installed one instead of going beside it.
execute_process(COMMAND msiinfo export ${msi} Upgrade OUTPUT_VARIABLE upgrade COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE "\t1\t\tWIX_UPGRADE_DETECTED" "\t513\t\tWIX_UPGRADE_DETECTED" upgrade "${upgrade}")
file(WRITE ${work}/Upgrade.idt "${upgrade}")
run(msibuild ${msi} -i Upgrade.idt)
# The summary in Bulgarian, as the product (wixl writes 1033 whatever the
# package says); its package code stays.
execute_process(COMMAND msiinfo suminfo ${msi} OUTPUT_VARIABLE summary COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "{[-0-9A-F]+}" package_code "${summary}")
execute_process(COMMAND msibuild ${msi} -s "Шифърът на нихилистите ${CPACK_NIHILIST_VERSION3}" "Шифърът на нихилистите"
    "x64;1026" ${package_code} COMMAND_ERROR_IS_FATAL ANY)
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
