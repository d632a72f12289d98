# Warnings are errors on every compiler we build with.
add_compile_options(-Wall -Wextra -Werror -Wshadow -Wformat=2 -Wundef)
