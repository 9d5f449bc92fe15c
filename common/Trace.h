#pragma once
// Diagnostic lines go to Trace. This system has no diagnostic output: the texts are accepted
// and discarded, so that a developer's build can route them somewhere without touching callers.
#include <string>

#include "common/Format.h"

inline void Trace(const std::string&) {}

template <typename... Args>
inline void TraceFmt(const std::string& format, const Args&... args)
{
    Trace(Format(format, args...));
}
