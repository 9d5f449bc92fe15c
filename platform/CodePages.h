#pragma once
// Port: whether a text survives one of the system's single-byte code pages. The uninstall log is
// written in the ANSI code page and the removal batch is read in the OEM one; a name that the
// code page cannot hold would be read back as another name, and so name another file.
#include <string>

class ICodePage {
public:
    // True when the text, converted to the code page and back, is the same text: a best fit
    // that turns a letter the code page lacks into a plain one does not count.
    virtual bool Holds(const std::string& text) = 0;

protected:
    // Never destroyed through the port: the system's code pages live as long as the program and
    // need nothing done at its end.
    ~ICodePage() = default;
};

// The system's ANSI and OEM code pages. Linux has neither: its text is UTF-8, which holds all.
ICodePage& SystemAnsiCodePage();
ICodePage& SystemOemCodePage();
