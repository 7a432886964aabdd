# `cmake --install build --prefix DIR` lays out the program folder DIR/prize-wheel (binary, its
# late library, data/, pic/, sound/, help/, Qt's translation in translations/) and a desktop
# launcher that starts the program in that folder, where it reads its pictures. Installing again
# replaces the program, its help and the translation, but keeps the operator's data, pictures
# and sounds.
include(GNUInstallDirs)

set(PW_INSTALL_PROGRAM_DIR "prize-wheel" CACHE STRING
    "Program folder, relative to the install prefix")

install(TARGETS prize-wheel RUNTIME DESTINATION ${PW_INSTALL_PROGRAM_DIR})
# Beside the program, which loads it by name once its screen is up.
install(TARGETS pw_late LIBRARY DESTINATION ${PW_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/help DESTINATION ${PW_INSTALL_PROGRAM_DIR})
install(FILES ${PW_QT_TRANSLATION} DESTINATION ${PW_INSTALL_PROGRAM_DIR}/translations)
install(FILES ${CMAKE_SOURCE_DIR}/assets/embedded/prize-wheel.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

install(CODE "
    set(program_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${PW_INSTALL_PROGRAM_DIR}\")
    execute_process(COMMAND \${CMAKE_COMMAND}
        -DSRC=${CMAKE_SOURCE_DIR}/assets -DDST=\${program_dir}
        -P ${CMAKE_SOURCE_DIR}/cmake/lay_out_program_folder.cmake)
    set(real_dir \"\${CMAKE_INSTALL_PREFIX}/${PW_INSTALL_PROGRAM_DIR}\")
    file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/prize-wheel.desktop\"
\"[Desktop Entry]
Type=Application
Name=Prize Wheel
Name[zh_CN]=转盘摇奖
Comment=Prize wheel draw for events
Comment[zh_CN]=活动现场转盘抽奖
Exec=\\\"\${real_dir}/prize-wheel\\\"
Path=\${real_dir}
Icon=prize-wheel
Terminal=false
Categories=Utility;
\")
")
