# Adds every direct subfolder of the current source folder that has a CMakeLists.txt,
# so that a new area needs no edit of its parent.
function(qx7_add_subdirectories)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child ${children})
        if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${child} AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# qx7_add_test(NAME SOURCES a.cpp b.cpp LIBS lib... LABELS label... [ENV VAR=value] [QT])
# One small test executable per unit. Label "link" marks tests that also run
# under the sanitizers; "qt" tests run on Qt's offscreen platform.
function(qx7_add_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
    set(labels ${T_LABELS})
    set(env ${T_ENV})
    if(T_QT)
        list(APPEND labels qt)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    # Discovered tests take every property value as one word, so several labels
    # become one ("window,qt"); -L takes a regular expression and still finds each.
    string(REPLACE ";" "," labels "${labels}")
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS "${labels}" ENVIRONMENT "${env}" TIMEOUT 300)
endfunction()
