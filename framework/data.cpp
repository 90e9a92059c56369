// framework/data.cpp: asset names to data-folder paths.
#include "framework/data.h"

String zk_data_FixDataPath(String path) {
    int colon = path.Find(String(":/"));
    bool scheme = colon != -1 && path.Find(String("/")) == colon + 1;                     // (a)
    if (scheme || path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;   // (b) (c)
    return String("zanth://data/") + path;
}
