#pragma once

// The process's live GDI objects and kernel handles, for leak tests. Wine
// answers 0 to GetGuiResources and GetProcessHandleCount; the objects are
// then counted by asking every possible handle value whether it is alive.
int CountGdiObjects();
int CountHandles();
