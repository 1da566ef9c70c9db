# The Debian package, built by cpack in a tree configured with BLACKJACK_DEBIAN_PACKAGE=ON and
# the prefix /usr. The game's own files are laid out as Debian lays out games (see GAME_BINDIR
# and GAME_DATADIR); this adds what every Debian package carries, its copyright and changelog,
# and describes the package.
set(PACKAGE_MAINTAINER "The Corvale Blackjack developers <maintainers@users.noreply.c-seed-80d336e9.example>")

# The copyright file in Debian's machine-readable format, the licence text taken from LICENSE:
# every line indented by one space, an empty line written as a lone dot.
file(READ LICENSE licence)
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" licence "${licence}")
string(STRIP "${licence}" licence)
string(REPLACE "\n\n" "\n.\n" licence "${licence}")
string(REPLACE "\n" "\n " PACKAGE_LICENCE_TEXT " ${licence}")
configure_file(packaging/copyright.in copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

add_custom_command(OUTPUT changelog.gz
    COMMAND gzip -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > changelog.gz
    DEPENDS packaging/changelog
    COMMENT "Compressing the package's changelog")
add_custom_target(package_changelog ALL DEPENDS changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME blackjack)
set(CPACK_PACKAGE_VENDOR "The Corvale Blackjack developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "casino blackjack for the text terminal")
set(CPACK_PACKAGE_DESCRIPTION "\
One player sits at the table against the dealer with a bankroll of $1000
and plays round after round from a shoe of 1 to 8 decks: bets of $5 to
$100, splits, double downs, insurance, and sound effects if you want them.
The dealer stands on every 17, and blackjack pays 3 to 2.

The game is drawn on a terminal of 80 columns and 24 rows and played with
single keys.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game loads SDL itself, and only to play sounds: without it the game plays on in silence.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libsdl2-2.0-0)
include(CPack)
