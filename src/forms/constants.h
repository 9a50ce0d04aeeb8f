#pragma once

#include <cstdint>

// The window toolkit's named constants, under the names the system's code uses.
namespace forms {

// Message box buttons, icons and default button (added together), and results.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;

inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Form.Show modes.
inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// QueryUnload unload modes.
inline constexpr int vbFormControlMenu = 0;  // the window's close box
inline constexpr int vbFormCode = 1;         // Unload from code
inline constexpr int vbAppWindows = 2;
inline constexpr int vbAppTaskManager = 3;

// Form.WindowState.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Screen.MousePointer.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

// Key codes and shift masks.
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// Mouse buttons.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;

// Alignment of labels and text boxes.
inline constexpr int vbLeftJustify = 0;
inline constexpr int vbRightJustify = 1;
inline constexpr int vbCenter = 2;

// Form.BorderStyle.
inline constexpr int vbBSNone = 0;
inline constexpr int vbFixedSingle = 1;
inline constexpr int vbSizable = 2;
inline constexpr int vbFixedDialog = 3;
inline constexpr int vbFixedToolWindow = 4;
inline constexpr int vbSizableToolWindow = 5;

// Shape.Shape.
inline constexpr int vbShapeRectangle = 0;
inline constexpr int vbShapeSquare = 1;
inline constexpr int vbShapeOval = 2;
inline constexpr int vbShapeCircle = 3;
inline constexpr int vbShapeRoundedRectangle = 4;
inline constexpr int vbShapeRoundedSquare = 5;

// Shape.FillStyle.
inline constexpr int vbFSSolid = 0;
inline constexpr int vbFSTransparent = 1;
inline constexpr int vbHorizontalLine = 2;
inline constexpr int vbVerticalLine = 3;
inline constexpr int vbUpwardDiagonal = 4;
inline constexpr int vbDownwardDiagonal = 5;
inline constexpr int vbCross = 6;
inline constexpr int vbDiagonalCross = 7;

// BorderStyle of lines and shapes (the dash style).
inline constexpr int vbTransparent = 0;
inline constexpr int vbBSSolid = 1;
inline constexpr int vbBSDash = 2;
inline constexpr int vbBSDot = 3;
inline constexpr int vbBSDashDot = 4;
inline constexpr int vbBSDashDotDot = 5;
inline constexpr int vbBSInsideSolid = 6;

// Common dialog flags used by the system.
inline constexpr int32_t cdlOFNReadOnly = 0x1;
inline constexpr int32_t cdlOFNHideReadOnly = 0x4;
inline constexpr int32_t cdlOFNPathMustExist = 0x800;
inline constexpr int32_t cdlOFNFileMustExist = 0x1000;

// Error numbers the toolkit raises besides the runtime's standard ones.
namespace err {
inline constexpr int32_t PropertyReadOnly = 383;        // "'Text' property is read-only" and the like
inline constexpr int32_t ControlArrayElementMissing = 340;
inline constexpr int32_t InvalidPicture = 481;
inline constexpr int32_t ControlNotFound = 730;
inline constexpr int32_t AlreadyDisplayed = 400;         // modal Show of a form that is shown
inline constexpr int32_t ModelessOverModal = 401;        // modeless Show while a modal form is displayed
inline constexpr int32_t NotAnArray = 343;
inline constexpr int32_t ModalWithoutInput = 32002;      // a modal window no input can ever close
inline constexpr int32_t InputRefused = 32001;           // user input the window would not take
inline constexpr int32_t BadLayout = 31037;              // a window layout that does not load
}  // namespace err

}  // namespace forms
