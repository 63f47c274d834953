# Warnings and floating-point rules shared by every target.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow=local -Wno-unused-parameter
                    -ffp-contract=off -fno-fast-math)

if(TAVRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
