# Every library and test target of the project is defined through these helpers,
# so compile options and test properties stay the same everywhere.

set(VELOMYRA_COMPILE_DEFINITIONS
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_USE_QSTRINGBUILDER
    QT_NO_KEYWORDS
    QT_NO_FOREACH)

function(velomyra_target_defaults target)
    target_compile_definitions(${target} PRIVATE ${VELOMYRA_COMPILE_DEFINITIONS})
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(VELOMYRA_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# velomyra_add_library(NAME SOURCES ... DEPENDS ...)
# Sources default to every .cpp/.h of the calling folder.
function(velomyra_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS
            "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
    endif()
    list(FILTER ARG_SOURCES INCLUDE REGEX "\\.cpp$|\\.h$")
    set(cpp_sources ${ARG_SOURCES})
    list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
    if(NOT cpp_sources)
        # A layer whose code has not arrived yet: headers only.
        add_library(${name} INTERFACE ${ARG_SOURCES})
        target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    velomyra_target_defaults(${name})
endfunction()

# velomyra_add_test(NAME SOURCES ... DEPENDS ... [NEEDS_GUI [HIGH_DPI_VARIANT]] [REGIONAL_VARIANTS]
#                   [TIMEOUT s] [LABELS ...])
function(velomyra_add_test name)
    cmake_parse_arguments(ARG "NEEDS_GUI;HIGH_DPI_VARIANT;REGIONAL_VARIANTS" "TIMEOUT" "SOURCES;DEPENDS;LABELS"
        ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    target_compile_definitions(${name} PRIVATE
        VELOMYRA_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
        VELOMYRA_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    velomyra_target_defaults(${name})
    add_test(NAME ${name} COMMAND ${name})
    set(labels ${ARG_LABELS})
    if(ARG_NEEDS_GUI)
        list(APPEND labels gui)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        if(ARG_HIGH_DPI_VARIANT)
            # The same suite on a screen of twice the pixel density.
            add_test(NAME ${name}_hidpi COMMAND ${name})
            set_tests_properties(${name}_hidpi PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "gui;hidpi"
                ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")
        endif()
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
    if(labels)
        set_tests_properties(${name} PROPERTIES LABELS "${labels}")
    endif()
    if(ARG_REGIONAL_VARIANTS)
        # The same suite again under the C locale, and with "," as the decimal separator
        # and "." as the date separator in the settings store.
        set(gui_environment)
        if(ARG_NEEDS_GUI)
            set(gui_environment "QT_QPA_PLATFORM=offscreen")
        endif()
        add_test(NAME ${name}_clocale COMMAND ${name})
        set_tests_properties(${name}_clocale PROPERTIES TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "LC_ALL=C;LANG=C;${gui_environment}" LABELS "regional")
        add_test(NAME ${name}_comma COMMAND ${name})
        set_tests_properties(${name}_comma PROPERTIES TIMEOUT ${ARG_TIMEOUT}
            ENVIRONMENT "VELOMYRA_TEST_REGIONAL=comma;${gui_environment}" LABELS "regional")
    endif()
endfunction()

# One test executable per *_test.cpp file of the calling folder, each linked to DEPENDS.
function(velomyra_add_test_folder prefix)
    cmake_parse_arguments(ARG "NEEDS_GUI;HIGH_DPI_VARIANT;REGIONAL_VARIANTS" "" "DEPENDS;EXTRA_SOURCES" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp")
    foreach(test_source IN LISTS tests)
        get_filename_component(stem "${test_source}" NAME_WE)
        set(gui_flag)
        if(ARG_NEEDS_GUI)
            set(gui_flag NEEDS_GUI)
        endif()
        if(ARG_HIGH_DPI_VARIANT)
            list(APPEND gui_flag HIGH_DPI_VARIANT)
        endif()
        if(ARG_REGIONAL_VARIANTS)
            list(APPEND gui_flag REGIONAL_VARIANTS)
        endif()
        velomyra_add_test(${prefix}_${stem} ${gui_flag}
            SOURCES "${test_source}" ${ARG_EXTRA_SOURCES}
            DEPENDS ${ARG_DEPENDS})
    endforeach()
endfunction()

# The GUI modules a model library must never reach, directly or through another library.
set(VELOMYRA_GUI_MODULES Gui Widgets PrintSupport Charts Svg SvgWidgets OpenGL OpenGLWidgets Quick Qml)
# The modules a drawing library (the reports) must never reach: it paints on QtGui alone.
set(VELOMYRA_WIDGET_MODULES Widgets Charts SvgWidgets OpenGLWidgets Quick Qml QuickWidgets)

# Walks the link graph of each target breadth-first and fails on the first module of the list
# named by modules_var found; what names the rule ("Model", "Drawing"), kind the modules.
function(_velomyra_check_links_now modules_var what kind)
    foreach(root IN LISTS ARGN)
        if(NOT TARGET ${root})
            continue()
        endif()
        set(queue ${root})
        set(seen ${root})
        while(queue)
            list(POP_FRONT queue target)
            get_target_property(type ${target} TYPE)
            set(properties INTERFACE_LINK_LIBRARIES)
            if(NOT type STREQUAL "INTERFACE_LIBRARY")
                list(APPEND properties LINK_LIBRARIES)
            endif()
            foreach(property IN LISTS properties)
                get_target_property(links ${target} ${property})
                if(NOT links)
                    continue()
                endif()
                foreach(link IN LISTS links)
                    # $<LINK_ONLY:X> and similar wrappers still link X.
                    string(REGEX REPLACE "^\\$<[A-Z_]+:(.*)>$" "\\1" link "${link}")
                    if(link MATCHES "^Qt6?::([A-Za-z]+)$" AND CMAKE_MATCH_1 IN_LIST ${modules_var})
                        message(FATAL_ERROR "${what} target ${root} links the ${kind} module ${link} (through ${target}).")
                    endif()
                    if(TARGET "${link}" AND NOT link MATCHES "^Qt6?::" AND NOT link IN_LIST seen)
                        list(APPEND seen "${link}")
                        list(APPEND queue "${link}")
                    endif()
                endforeach()
            endforeach()
        endwhile()
    endforeach()
endfunction()

# velomyra_check_model_links(TARGET ...): fails the configuration when a target links a GUI
# module. Checked at the end of the configuration, after every target_link_libraries call.
function(velomyra_check_model_links)
    cmake_language(EVAL CODE "
        cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\"
            CALL _velomyra_check_links_now VELOMYRA_GUI_MODULES Model GUI ${ARGN})")
endfunction()

# velomyra_check_widget_free_links(TARGET ...): the same for a drawing library and the widget
# modules.
function(velomyra_check_widget_free_links)
    cmake_language(EVAL CODE "
        cmake_language(DEFER DIRECTORY \"${CMAKE_SOURCE_DIR}\"
            CALL _velomyra_check_links_now VELOMYRA_WIDGET_MODULES Drawing widget ${ARGN})")
endfunction()
