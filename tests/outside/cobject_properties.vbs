' A host creates CObject by ProgID, late bound, writes every property and meets
' the errors Kill raises before any Build.

Dim o : Set o = CreateObject("MorvalZIVI01.CObject")
o.ApplicationName = "Ostrela"
o.ObjectId = "C01"
o.ObjectName = "I01CAT"
o.ObjectLocation = 1
o.hwnd = 0
o.ReservedValue2 = Empty
o.ReservedValue3 = "x"
o.ReservedValue4 = 4
o.ReservedValue5 = Null
o.Parameters = Array(1, "two")

Dim r
On Error Resume Next
r = o.ApplicationName
Check Err.Number <> 0, "reading a write-only property fails"
Err.Clear

r = o.Kill()
Check Err.Number = 91, "Kill before Build raises 91, got " & Err.Number
Check Err.Source = "[MorvalZIVI01.Kill]", "Kill source, got " & Err.Source
Err.Clear

r = True
r = o.Resize()
Check Err.Number = 0, "Resize raises nothing"
Check r = False, "Resize returns False"
On Error GoTo 0

Set o = Nothing
Finish
