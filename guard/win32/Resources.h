// Resource identifiers, shared by the resource script and the views.
#pragma once

// The program's icon: the first icon, which the shell shows for the file.
#define IDI_PROGRAM 1
#define IDI_NUMBER 2
// The detection dialog's pictures, one per mode: IDI_QUESTION0 + mode.
#define IDI_QUESTION0 10
#define IDI_QUESTION1 11
#define IDI_QUESTION2 12
