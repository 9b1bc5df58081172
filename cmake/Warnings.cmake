# Project-wide compile flags: warnings everywhere, optional -Werror and sanitizers.
add_compile_options(-Wall -Wextra -Wpedantic)
if(EARLYLATE_WERROR)
  add_compile_options(-Werror)
endif()
# Warnings the CI build holds the tree to; off by default so a newer compiler's additions
# do not stop a user's build.
if(EARLYLATE_STRICT_WARNINGS)
  add_compile_options(-Wshadow -Wconversion -Wsign-conversion)
endif()
if(EARLYLATE_SANITIZE AND EARLYLATE_SANITIZE_THREAD)
  message(FATAL_ERROR "EARLYLATE_SANITIZE and EARLYLATE_SANITIZE_THREAD exclude each other: "
    "ThreadSanitizer cannot run beside AddressSanitizer")
endif()
if(EARLYLATE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(EARLYLATE_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Core libraries must stay toolkit-free: fail the configure step if one of them links Qt.
function(earlylate_forbid_qt target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(libs)
    foreach(lib IN LISTS libs)
      if(lib MATCHES "Qt")
        message(FATAL_ERROR "${target} must not link ${lib}: the core libraries stay free of Qt")
      endif()
    endforeach()
  endif()
endfunction()
