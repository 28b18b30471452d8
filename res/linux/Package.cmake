# The Debian package (./dev.sh package): cpack -G DEB in the build folder.
# Library dependencies come from dpkg-shlibdeps; what is loaded at run time
# without being linked is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME halcyon-deck)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Halcyon Deck developers")
set(HALCYON_MAINTAINER "Halcyon Deck developers <halcyon-deck@example.org>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_PACKAGE_CONTACT ${HALCYON_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${HALCYON_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for car dash camera recordings")
# The summary is the synopsis; CPack indents this text as the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Halcyon Deck finds a dash camera's SD card, lists its recordings by category
(continuous, impact event, manual, parked motion) and plays the front and
rear pictures of a recording side by side with sound. It follows the GPS
track on a map with a speed read-out, plots the G-sensor samples, copies,
deletes and snapshots recordings and edits the camera's settings files.

halcyon-deck-cli gives a recording's telemetry, a card's recording list and
the settings files to scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The media graph instantiates these GStreamer elements by name: filesrc and
# the converters (base), qtdemux, scaletempo, videoflip and autoaudiosink
# (good), the H.264 and AAC decoders (libav); sound needs an output plugin.
# Hangul needs the CJK fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-libav, gstreamer1.0-pulseaudio | gstreamer1.0-alsa, fonts-noto-cjk")
# Card discovery prefers UDisks2 and falls back to the mount table; Qt's own
# texts (standard buttons, file dialogs) come from its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udisks2, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
