#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "files/file_ops.h"

namespace vistello {

// What a run keeps while it works and must not outlive it: the process groups of the tools it
// started and the temporaries it is filling. Noting and forgetting are safe on any thread; the
// lists are kept where a signal handler can reach them.

void NoteChildGroup(pid_t group);
void ForgetChildGroup(pid_t group);

// A slot to forget the temporary by, or -1 when the list is full (the next run into its folder
// clears it then).
int NoteTemporary(const std::string& path);
void ForgetTemporary(int slot);

// Ends every noted process group and removes every noted temporary; safe in a signal handler.
void EndLeftovers();

// On a signal that ends the program and can be caught (TERM, INT, HUP, QUIT, PIPE, ALRM, USR1,
// USR2), the leftovers are ended before the program ends as the signal would have ended it.
void EndLeftoversOnSignals();

// A temporary's name beside its target, from eleven random letters and digits: it names the
// process that fills it and, in the first three of them, the machine, so that a later run can tell
// a temporary whose run was killed from one that another run, here or on another machine sharing
// the folder, is filling now.
std::string TemporaryName(std::string_view random, pid_t filler = ::getpid());

// Removes from `folder` the temporaries of runs on this machine that no longer exist, and those of
// other machines' runs untouched for a day.
void ClearStaleTemporaries(FileOps& ops, const std::string& folder);

}  // namespace vistello
