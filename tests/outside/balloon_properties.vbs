' A host creates the balloon tooltip by ProgID, late bound: reads the defaults, sets
' every property and reads it back, shares a font object, and meets the error of an
' opacity that does not fit a byte.

Dim t : Set t = CreateObject("MorvalZIVI01.CToolTipBaloon")
Check t.Alive = False, "Alive starts False"
Check t.Shadow = False, "Shadow starts False"
Check t.IconSize = 16, "IconSize starts 16"
Check t.ToolTipStyle = 1, "ToolTipStyle starts 1"
Check t.TextColor = &H80000012, "TextColor default"
Check t.GradientColorStart = &H80000018, "GradientColorStart default"
Check t.GradientColorEnd = &H80000001, "GradientColorEnd default"
Check t.BackColor = &H80000018, "BackColor default"
Check t.BackStyle = 1, "BackStyle starts 1"
Check t.DelayTime = 100, "DelayTime starts 100"
Check t.KillTime = 500, "KillTime starts 500"
Check t.Picture Is Nothing, "no Picture at start"
Check t.Font.Size > 8 And t.Font.Size < 9, "default font of 8.25 points, got " & t.Font.Size

t.Alive = True : Check t.Alive = True, "Alive"
t.Shadow = True : Check t.Shadow = True, "Shadow"
t.IconSize = 32 : Check t.IconSize = 32, "IconSize"
t.ToolTipStyle = 0 : Check t.ToolTipStyle = 0, "ToolTipStyle"
t.TextColor = &HFF : Check t.TextColor = &HFF, "TextColor"
t.GradientColorStart = &H10203 : Check t.GradientColorStart = &H10203, "GradientColorStart"
t.GradientColorEnd = &H30201 : Check t.GradientColorEnd = &H30201, "GradientColorEnd"
t.BackColor = &HFFFFFF : Check t.BackColor = &HFFFFFF, "BackColor"
t.BackStyle = 3 : Check t.BackStyle = 3, "BackStyle"
t.DelayTime = 25 : Check t.DelayTime = 25, "DelayTime"
t.KillTime = 50 : Check t.KillTime = 50, "KillTime"

' The font object is kept by reference: a change through it is seen by the balloon.
Dim f : Set f = t.Font
Check t.Font.Bold = False, "default font is not bold"
f.Bold = True
Check t.Font.Bold = True, "font kept by reference"

On Error Resume Next
t.ShowToolTip 0, "Title", "Text", 0, 256
Check Err.Number = 6, "an opacity of 256 raises overflow, got " & Err.Number
Err.Clear
t.ShowToolTip 0, "Title", "Text", 0, 150
Check Err.Number = 0, "an opacity of 150 is kept (no balloon shows), got " & Err.Number
Err.Clear
t.ShowToolTip 0, "Title", "Text", 0
Check Err.Number = 0, "ShowToolTip with the default opacity, got " & Err.Number
On Error GoTo 0
Check t.Alive = True, "armed after ShowToolTip"

Set t = Nothing
Finish
