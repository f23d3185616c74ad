# The one place where the program's version is set. The fourth number is the
# build number that every request to the service carries.
set(TORVIK_VERSION_MAJOR 1)
set(TORVIK_VERSION_MINOR 0)
set(TORVIK_VERSION_RELEASE 0)
set(TORVIK_VERSION_BUILD 1)
set(TORVIK_VERSION_TEXT
    "${TORVIK_VERSION_MAJOR}.${TORVIK_VERSION_MINOR}.${TORVIK_VERSION_RELEASE}.${TORVIK_VERSION_BUILD}")

# The maker's web site: the version-check service ("versionchecker.aspx") and
# the pages the program opens live below it. A private catalogue host builds
# with its own root.
set(TORVIK_SITE_ROOT "https://www.torviksoftware.com/" CACHE STRING
    "Root address of the maker's web site, ending in a slash")
