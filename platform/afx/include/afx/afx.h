// The class-library stand-in: include this one header for all of it.
#pragma once

#include "win32/wintypes.h"
#include "afx/Object.h"
#include "afx/String.h"
#include "afx/Exception.h"
#include "afx/Geometry.h"
#include "afx/Archive.h"
#include "afx/Collections.h"
#include "afx/OleTypes.h"
#include "afx/File.h"
#include "afx/Document.h"
#include "afx/WinApp.h"
#include "afx/Module.h"
#include "afx/Dc.h"
#include "afx/VariantArchive.h"
