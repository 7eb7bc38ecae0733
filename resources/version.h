/* Version numbers (UTF-8 source), defined once: the version resources and the About text use these. */
#pragma once

#define ORBELIN_VERSION_BINARY 2, 0, 0, 0
#define ORBELIN_VERSION_FILE "2.0.0.0"
#define ORBELIN_VERSION_SHORT "2.0.0"

#define UNINSTALL_VERSION_BINARY 1, 0, 0, 10
#define UNINSTALL_VERSION_FILE "1.0.0.10"

#define VANTREL_COMPANY "Vantrel"
#define VANTREL_COPYRIGHT "© 2004-2026 Vantrel"
