# Warnings are errors in our own code; sanitizers when asked for.
add_library(facetally_warnings INTERFACE)
target_compile_options(facetally_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
  -Wcast-align -Wunused -Woverloaded-virtual -Wformat=2 -Werror
  # g++ 12 reports false overlaps inside std::string at -O2 (its own bug 105651).
  $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)

# The fuzz build (clang only): everything instrumented for libFuzzer's coverage and checked
# by the sanitizers; only the fuzz targets link libFuzzer's main.
if(FACETALLY_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

if(FACETALLY_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
