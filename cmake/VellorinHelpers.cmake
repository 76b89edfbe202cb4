# vellorin_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One executable per test area, run under the offscreen platform with a fixed locale,
# so that results do not depend on the desktop or the language of the machine.
function(vellorin_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} Qt6::Test)
    add_test(NAME ${ARG_NAME} COMMAND ${ARG_NAME})
    set_tests_properties(${ARG_NAME} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;LANG=C.UTF-8;TZ=Europe/Paris"
        TIMEOUT 120)
endfunction()
