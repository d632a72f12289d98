# The sqlsim driver the tests register as "sqlsim": sets SQLSIM_DRIVER (its
# path) and the target sqlsim_driver that builds it.
#
# The Windows tests run under Wine, whose ODBC hands the calls to the i386
# driver manager: their driver is a 32-bit Linux build of the same sources,
# made here by a build of its own (or given as LERV32_SQLSIM_I386_DRIVER).
if(NOT WIN32)
  set(SQLSIM_DRIVER ${CMAKE_BINARY_DIR}/sqlsim/odbc/libsqlsimodbc.so)
  add_custom_target(sqlsim_driver DEPENDS sqlsimodbc)
  return()
endif()

set(LERV32_SQLSIM_I386_DRIVER "" CACHE FILEPATH
  "An i386 Linux build of libsqlsimodbc.so for the tests under Wine; built here when empty")
if(LERV32_SQLSIM_I386_DRIVER)
  set(SQLSIM_DRIVER ${LERV32_SQLSIM_I386_DRIVER})
  add_custom_target(sqlsim_driver)
  return()
endif()

include(ExternalProject)
set(sqlsim_i386_dir ${CMAKE_BINARY_DIR}/sqlsim-i386)
set(SQLSIM_DRIVER ${sqlsim_i386_dir}/sqlsim/odbc/libsqlsimodbc.so)
ExternalProject_Add(sqlsim_i386
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${sqlsim_i386_dir}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-linux-i386.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DLERV32_BUILD_TESTS=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${sqlsim_i386_dir} --target sqlsimodbc
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${SQLSIM_DRIVER})
add_custom_target(sqlsim_driver DEPENDS sqlsim_i386)
