// Program version, shared by the version resource and the version window.
#pragma once

#define KESTRUM_VERSION_MAJOR 0
#define KESTRUM_VERSION_MINOR 1
#define KESTRUM_VERSION_PATCH 0
#define KESTRUM_VERSION_TEXT "0.1.0"
