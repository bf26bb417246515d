#pragma once

#include "database/ado_database.h"

// The one shared connection, built while the module loads and destroyed while it unloads.
extern CADODatabase g_database;
