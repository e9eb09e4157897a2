' An outside client meets the data-access component's guards: a text with a lone
' UTF-16 surrogate cannot end a quote early, a registry connection value that cannot
' be used fails instead of opening the database beside the component, and the "?" of
' a text command take the values given, in order. It works on a copy of the sample
' (key "OstrelaGuards"), removed at the end.

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
Dim shell : Set shell = CreateObject("WScript.Shell")
fso.CopyFile "data\Ostrela.db", "data\OstrelaGuards.db", True
Dim key : key = "OstrelaGuards"
Dim d : Set d = CreateObject("QdPoolConnection.QdProcedure")
Dim rs

Function Documents(data)
  Documents = data.GetData(key, "Select Count(*) As N From Documentos", Null, True, 0, 1, 0)("N").Value
End Function
Dim total : total = Documents(d)

' A lone surrogate before a closing quote: SQLite would pair it with the quote. Wine's
' VBScript has no ChrW, so U+DC00 is read back as UTF-16 from a file of bytes 00 DC.
Function LoneSurrogate()
  Dim path, f
  path = fso.BuildPath(shell.ExpandEnvironmentStrings("%TEMP%"), "VkLoneSurrogate.txt")
  Set f = fso.CreateTextFile(path, True, False)
  f.Write Chr(0) & Chr(220)
  f.Close
  Set f = fso.OpenTextFile(path, 1, False, -1)
  LoneSurrogate = f.ReadAll
  f.Close
  fso.DeleteFile path
End Function
Dim lone : lone = LoneSurrogate()
Check Len(lone) = 1, "one UTF-16 unit"
Check Not d.Execute(key, "Delete From Documentos Where ReferenciaId = 'x" & lone & "' And CBarra = ' Or 1=1 --';", Null, 0, 1, 0), _
      "a delete with a lone surrogate fails"
Check InStr(d.ErrDescription, "U+DC00") > 0, "and says why: " & d.ErrDescription
Set rs = d.GetData(key, "Select * From Documentos Where ReferenciaId = 'x" & lone & "' Or CBarra = ' Or 1=1 --'", Null, True, 0, 1, 0)
Check rs Is Nothing, "a read with a lone surrogate gives Nothing"
Check Not d.Execute(key, "Update Documentos Set Campo01 = ? Where DocumentoId = 1", Array("a" & lone), 0, 1, 0), _
      "a value with a lone surrogate is refused"
Check Documents(d) = total, "no document was deleted"

' A registry value that exists but cannot be used names itself and opens nothing else.
Dim value : value = "HKCU\Software\QdPoolConnection\Connections\" & key
Dim fresh
shell.RegWrite value, 7, "REG_DWORD"
Set fresh = CreateObject("QdPoolConnection.QdProcedure")
Check fresh.GetData(key, "Select * From Documentos", Null, True, 0, 1, 0) Is Nothing, "a number in the registry fails"
Check InStr(fresh.ErrDescription, "Connections\" & key) > 0, "naming the value: " & fresh.ErrDescription
shell.RegWrite value, "", "REG_SZ"
Set fresh = CreateObject("QdPoolConnection.QdProcedure")
Check Not fresh.Execute(key, "Delete From Documentos", Null, 0, 1, 0), "an empty path fails"
Check InStr(fresh.ErrDescription, "vac") > 0, "saying it is empty: " & fresh.ErrDescription
shell.RegWrite value, fso.GetAbsolutePathName("data\OstrelaGuards.db"), "REG_SZ"
Set fresh = CreateObject("QdPoolConnection.QdProcedure")
Check Documents(fresh) = total, "a usable path serves"
' Wine's RegDelete is a stub that raises; reg.exe removes the value.
Check shell.Run("reg.exe delete HKCU\Software\QdPoolConnection\Connections /v " & key & " /f", 0, True) = 0, _
      "the value is removed"

' "?" takes the values given, in order; a count that does not match runs nothing.
Check d.Execute(key, "Update Documentos Set Campo06 = ? Where DocumentoId = ?", Array("given", 1), 0, 1, 0), _
      "values bound: " & d.ErrDescription
Set rs = d.GetData(key, "Select Campo06 From Documentos Where DocumentoId = 1", Null, True, 0, 1, 0)
Check rs("Campo06").Value = "given", "the value is stored, not Null"
Check Not d.Execute(key, "Update Documentos Set Campo06 = ? Where DocumentoId = 1", Array("a", "b"), 0, 1, 0), "two values for one ?"
Check Not d.Execute(key, "Delete From Documentos Where DocumentoId = ?", Null, 0, 1, 0), "no value for a ?"
Check Documents(d) = total, "nothing was deleted"
Check d.GetData(key, "Select * From Documentos Where DocumentoId = ?", Null, True, 0, 1, 0) Is Nothing, "a read with a ?"

Set rs = Nothing
Set fresh = Nothing
Set d = Nothing
fso.DeleteFile "data\OstrelaGuards.db", True
Finish
