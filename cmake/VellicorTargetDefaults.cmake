# Compiler settings every vellicor target gets; nothing is set globally.

function(vellicor_target_defaults target)
  target_compile_features(${target} PRIVATE cxx_std_20)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wconversion -Wshadow>
      $<$<COMPILE_LANGUAGE:C>:-Wall -Wextra -Wpedantic>)
    if(VELLICOR_WERROR)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
    if(VELLICOR_SANITIZE)
      target_compile_options(${target} PRIVATE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
      target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
  endif()
endfunction()
