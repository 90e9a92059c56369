// framework/data.h: where asset names are looked for.
//
// zk_data_FixDataPath turns a bare asset name into the "zanth://data/" form that the host maps to the
// data folder beside the program; names that already say where they are pass unchanged.
#pragma once

#include "runtime/string.h"

// Leaves the path unchanged when
//   (a) its first ":/" is where its first "/" is (it names a scheme, as "zanth://data/" does),
//   (b) it starts with "./",
//   (c) it starts with "/";
// otherwise prefixes "zanth://data/".
String zk_data_FixDataPath(String path);
