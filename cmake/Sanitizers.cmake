if(BRICKHAVEN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(BRICKHAVEN_FUZZ)
  # Coverage feedback from everything the fuzz targets call, not only from the targets.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
