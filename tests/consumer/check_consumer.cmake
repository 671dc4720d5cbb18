# Installs the built library into a scratch prefix, checks that the installed Designer plugin
# finds every library it needs from there, then configures, builds and runs a small outside
# project that uses find_package(Korvane).
#   BUILD_DIR, SOURCE_DIR, WORK_DIR   the tree's build, the outside project, a scratch folder
#   PROGRAM                           the executable the project builds (default: consumer)
#   CONFIGURE_ARGS, RUN_ARGS          extra arguments (;-lists) for its configure and its run
if(NOT PROGRAM)
  set(PROGRAM consumer)
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(PREFIX ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()

file(GLOB_RECURSE plugin ${PREFIX}/*/qt6/plugins/designer/libkorvane_dsgn.so)
if(plugin)
  # Run in a clean environment: nothing on the loader path but what the plugin brings itself.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ldd ${plugin}
    OUTPUT_VARIABLE deps RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR deps MATCHES "not found")
    message(FATAL_ERROR "the installed Designer plugin misses libraries:\n${deps}")
  endif()
  if(NOT deps MATCHES "${PREFIX}/[^ ]*libkorvane_rt")
    message(FATAL_ERROR "the installed Designer plugin does not load the library of its prefix:\n${deps}")
  endif()
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build
  -DCMAKE_PREFIX_PATH=${PREFIX} -DCMAKE_BUILD_TYPE=Release ${CONFIGURE_ARGS}
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configure of the consumer failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "build of the consumer failed: ${rc}")
endif()
execute_process(COMMAND ${WORK_DIR}/build/${PROGRAM} ${RUN_ARGS} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the consumer program failed: ${rc}")
endif()
