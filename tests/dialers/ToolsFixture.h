#pragma once
// The tools unit over fakes: an in-memory registry and file system, scripted processes and
// shell, the guard installed as C:\Guard\MLinewarden.exe.
#include <gtest/gtest.h>

#include "dialers/LinewardenTools.h"
#include "support/FakePorts.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"

class ToolsFixture : public ::testing::Test {
protected:
    TMemoryRegistry Registry;
    TMemoryFileSystem Files;
    TFakeProcesses Processes;
    TFakeShell Shell;
    TToolsPorts Ports{Registry, Files, Processes, Shell, "C:\\Guard\\MLinewarden.exe"};

    void SetUp() override { Files.AddFolder("C:\\Guard"); }
};
