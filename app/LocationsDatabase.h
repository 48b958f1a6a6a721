// The locations database: the location list in LocationsFile from which
// locations are picked and lists are built.  A database file that cannot be
// read must not keep the program from starting, nor be overwritten: Open
// then reports the file, leaves the list empty and blocks every Save, so the
// user can repair or replace the file.
#pragma once

#include <string>

#include "app/ObserverDataLists.h"

namespace app {

class TLocationsDatabase {
public:
    // The database file; "" means LocationsFile at the time of Open.
    explicit TLocationsDatabase(std::string fileName = "");

    // Creates the file with an empty list when it does not exist, then
    // reads it into list.  On failure: list emptied (its name kept), the
    // notice "The locations database could not be read: ..." shown with
    // the file's name and the reason, Broken() true; returns false.
    bool Open(TObserverDataList& list);
    // Writes list to the file atomically; false and nothing written while
    // the database is broken.  Write errors raise.
    bool Save(const TObserverDataList& list);

    bool Broken() const { return FBroken; }
    // The notice of the failed Open ("" when none).
    const std::string& Error() const { return FError; }
    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    bool FBroken = false;
    std::string FError;
};

} // namespace app
