#pragma once
#include <string>
#include <vector>

// Where the program reads its data set from. In order: the directory given
// with --data; else the working directory when it holds any of the data files;
// else the installed data set. Each problem found is one line of text.
struct DataLocation {
    enum class Source { None, Option, WorkingDirectory, Installed };
    Source source = Source::None;
    std::string directory;  // empty for the working directory
    std::string error;      // why no data set was found (Source::None)
};

// The places to look: the working directory and the installed data set are
// passed in so that tests can point them anywhere.
struct DataPlaces {
    std::string option;            // --data DIR, empty when not given
    std::string workingDirectory;  // absolute
    std::string installed;         // the installed data set's directory
};

DataLocation locateDataSet(const DataPlaces& places);

// The program's data set: locateDataSet over --data's directory (empty when
// not given), the process's working directory and the installed data set.
DataLocation findDataSet(const std::string& dataOption);

// The installed data set: beside the running program (so that an unpacked
// package works wherever it lies), else the directory it was built for.
std::string installedDataDirectory();

// Lines like "the data set in /x lacks v.ase, part1.pcx" for files that are
// missing, unreadable or not 24-bit PCX pictures. The music is left out: the
// music layer reports it itself.
std::vector<std::string> dataSetProblems(const std::string& directory);

// "/usr/share/games/vokdemo (the installed data set)", for --help.
std::string describeDataLocation(const DataLocation& location);
