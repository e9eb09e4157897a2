' A host drives Build, Resize and Kill late bound against the sample databases.
' An empty parameter table makes Build raise error 5 under its own source, with no
' message box (a box would wait for an answer and this script would never end).

Dim fso, shell, copy, key, qd, o, r
Set fso = CreateObject("Scripting.FileSystemObject")
Set shell = CreateObject("WScript.Shell")
copy = fso.GetAbsolutePathName("data\OstrelaOutsideBuild.db")
fso.CopyFile "data\Ostrela.db", copy, True
key = "HKCU\Software\QdPoolConnection\Connections\VkOutsideBuild"
shell.RegWrite key, copy, "REG_SZ"

Set qd = CreateObject("QdPoolConnection.QdProcedure")
Check qd.Execute("VkOutsideBuild", "Delete From AplicationParameters", Null, 0, 1, 0), "parameters emptied"

Set o = CreateObject("MorvalZIVI01.CObject")
o.ApplicationName = "VkOutsideBuild"
o.ObjectId = "I01CAT"
o.ObjectName = "I01CAT"
o.hwnd = 0

On Error Resume Next
r = True
r = o.Build()
Check Err.Number = 5, "Build raises 5, got " & Err.Number & " " & Err.Description
Check Err.Source = "[MorvalZIVI01.Build]", "Build source, got " & Err.Source
Err.Clear
r = True
r = o.Resize()
Check Err.Number = 0 And r = False, "Resize returns False and raises nothing"
Err.Clear
r = o.Kill()
Check Err.Source = "[MorvalZIVI01.Kill]", "Kill with no screen raises under its source"
Err.Clear

' With the parameters back, Build goes through and returns False.
Check qd.Execute("VkOutsideBuild", "Insert Into AplicationParameters (ParameterId, ParameterValue) Values ('HKEY_DOCUMENTOS_LOAD_MAX', '5')", Null, 0, 1, 0), "parameter added"
o.ObjectName = "X99"
r = True
r = o.Build()
Check Err.Number = 0, "Build with parameters raises nothing, got " & Err.Number & " " & Err.Description
Check r = False, "Build returns False"
On Error GoTo 0

Set o = Nothing
Set qd = Nothing
' Wine's RegDelete is a stub that raises; reg.exe removes the value.
Check shell.Run("reg.exe delete HKCU\Software\QdPoolConnection\Connections /v VkOutsideBuild /f", 0, True) = 0, "the connection value is removed"
fso.DeleteFile copy
Finish
