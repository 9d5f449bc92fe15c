#pragma once
// The batch file that removes the uninstaller after it has ended: a running program cannot
// delete its own file, so the batch waits until it can, then removes the program's folder and
// the logged directories that are still there, and finally itself and the temporary folder.
#include <string>
#include <vector>

// Attempts of the first loop, one a second or so: the uninstaller's process ends within moments
// of starting the batch, and a file that cannot be deleted for a minute (read-only, or held
// open by another program) will not become deletable by trying harder; the hidden batch must
// not go on for ever.
constexpr int RemovalBatchTries = 60;

// The batch's file name: the program file's name with ".bat" for its extension. A "%" in it
// becomes "_": the batch is started through the interpreter's command line, where "%OS%"
// would be expanded and cannot be escaped, so the batch would not be found.
std::string RemovalBatchName(const std::string& programFile);

// The lines, without line ends, in the system's encoding for the command interpreter. P is the
// program file, batchFile the batch itself; dirs are the directories still to be removed, in
// the order their lines appear. removeBatchFolder: the batch's folder was made by this run and
// is removed at the end; the system's own temporary folder is never removed, since programs
// that are told to use it fail when it is gone. Every path stands in double quotes with each "%" doubled, so
// the interpreter reads it back unchanged. A path that the interpreter's code page cannot
// spell exactly, or that holds a quote or a line break, would name another file: its lines
// are left out.
std::vector<std::string> RemovalBatchLines(const std::string& programFile,
                                           const std::string& batchFile,
                                           const std::vector<std::string>& dirs,
                                           bool removeBatchFolder);
// The whole file: every line ended by CR LF.
std::string RemovalBatchText(const std::vector<std::string>& lines);
