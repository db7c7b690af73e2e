#pragma once

// The program's version, in one place: the version resource, the code, CMakeLists.txt and
// scripts/package.sh (the release's file names and installers, through scripts/release-numbers.sh)
// all read it from here.
#define QUORVEL_VERSION_MAJOR 0
#define QUORVEL_VERSION_MINOR 1
#define QUORVEL_VERSION_PATCH 0
#define QUORVEL_VERSION_BUILD 1

#define QUORVEL_STRINGIZE_(x) #x
#define QUORVEL_STRINGIZE(x) QUORVEL_STRINGIZE_(x)

// "0.1.0.1": four dot-separated decimal numbers.
#define QUORVEL_VERSION_TEXT                                                   \
    QUORVEL_STRINGIZE(QUORVEL_VERSION_MAJOR) "." QUORVEL_STRINGIZE(QUORVEL_VERSION_MINOR) "." \
    QUORVEL_STRINGIZE(QUORVEL_VERSION_PATCH) "." QUORVEL_STRINGIZE(QUORVEL_VERSION_BUILD)

// The same numbers as the version resource's FILEVERSION and PRODUCTVERSION take them.
#define QUORVEL_VERSION_NUMBERS \
    QUORVEL_VERSION_MAJOR, QUORVEL_VERSION_MINOR, QUORVEL_VERSION_PATCH, QUORVEL_VERSION_BUILD

#define QUORVEL_COMPANY_NAME "Vantrel"
#define QUORVEL_COPYRIGHT "Copyright (C) 2026 Vantrel"
