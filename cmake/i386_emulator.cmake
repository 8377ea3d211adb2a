# Test programs of the 32-bit Linux build run natively where the kernel executes i386 code, and
# through qemu-i386-static elsewhere. No binfmt handler is registered: CTest prepends the emulator.
set(_probe_dir ${CMAKE_BINARY_DIR}/i386_probe)
file(WRITE ${_probe_dir}/probe.cpp "int main() { return 0; }\n")
try_run(_probe_run _probe_compile ${_probe_dir}/build ${_probe_dir}/probe.cpp)
if(NOT _probe_compile)
  message(FATAL_ERROR "The compiler cannot build 32-bit programs: install g++-multilib (scripts/setup).")
endif()
if(NOT _probe_run STREQUAL "0")
  find_program(QEMU_I386 qemu-i386-static REQUIRED)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_I386})
  message(STATUS "This machine cannot run i386 programs: tests run through ${QEMU_I386}")
endif()
