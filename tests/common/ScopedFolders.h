#pragma once
// The program's folders as a test points them, given back whole when the
// object goes (also when an assertion ends the test early).
//
//   testsupport::Scoped_Folders folders;
//   folders->Created_Resource_Path = dir.path();
#include "core/util/SharedValues.h"

namespace testsupport {

class Scoped_Folders {
public:
    Scoped_Folders() : m_saved(::Folders) {}
    explicit Scoped_Folders(const QString& userData) : Scoped_Folders() { ::Folders.Created_Resource_Path = userData; }
    ~Scoped_Folders() { ::Folders = m_saved; }
    Scoped_Folders(const Scoped_Folders&) = delete;
    Scoped_Folders& operator=(const Scoped_Folders&) = delete;

    Folder_Paths* operator->() const { return &::Folders; }

private:
    Folder_Paths m_saved;
};

} // namespace testsupport
