#include "exports/module.h"

CADODatabase g_database;
