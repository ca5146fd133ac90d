#pragma once
// Where the application finds its shipped resources and keeps per-user data.
#include <QString>

// The shipped resource folder, never written: the source tree's resources/
// when the program runs from a build folder inside the source tree, the
// installed data folder otherwise. ZL_RESOURCE_DIR in the environment wins.
QString Default_Resource_Path();

// The per-user data folder (QStandardPaths::AppDataLocation); not created here.
QString Default_Created_Resource_Path();

// Joins folder and name with exactly one '/'.
QString Path_Join(const QString& folder, const QString& name);
