# The native programs are linked by lld when the compiler can use it: the
# test program, the layer probes, the generators and the fuzzers each take
# the whole core with its debug information, which lld links in a fraction of
# ld.bfd's time. The browser edition keeps Emscripten's own linker.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=lld PELMOT_HAVE_LLD)
if(PELMOT_HAVE_LLD)
  add_link_options(-fuse-ld=lld)
endif()
