' An outside client reads and writes the two sample databases through
' "QdPoolConnection.QdProcedure" with the statements and procedures the screens use.
' It works on copies beside the samples (keys "OstrelaScript" and "VkSScript"), so
' other clients never see its writes and a test that points the sample keys
' elsewhere cannot change what it reads; the copies are removed at the end.

Dim fso : Set fso = CreateObject("Scripting.FileSystemObject")
fso.CopyFile "data\Ostrela.db", "data\OstrelaScript.db", True
fso.CopyFile "data\VkS.db", "data\VkSScript.db", True
Dim d : Set d = CreateObject("QdPoolConnection.QdProcedure")
Dim app : app = "OstrelaScript"
Dim rs, n, i, ok

' Security database: the administrators, read through the default members.
Set rs = d.GetData("VkSScript", "Select * From Users Where UserLevel = 0", Null, True, 0, 1, 0)
Check Not rs Is Nothing, "users: " & d.ErrDescription
If Not rs Is Nothing Then
  Check rs.RecordCount >= 2, "two administrators at least (the builder and the sample one)"
  Check rs.Fields.Count = 3, "three user columns"
  Check rs.Fields(0).Name = "UserName", "first column is UserName"
  Check rs("userlevel") = 0, "rs(name) reads the value, names without case"
  Check rs.Fields("UserLevel").Type = 3, "UserLevel is an integer (3)"
End If

' Application parameters, walked as the parameter loader does.
Set rs = d.GetData(app, "Select * From AplicationParameters", Null, True, 0, 1, 0)
Check Not rs Is Nothing, "parameters: " & d.ErrDescription
Dim origen : origen = ""
rs.MoveFirst
Do While Not rs.EOF
  If rs.Fields("ParameterId").Value = "HKEY_DOCUMENTOS_PATH_ORIGEN" Then origen = rs.Fields("ParameterValue").Value
  rs.MoveNext
Loop
Check InStr(origen, "[UserNameNT]") > 0, "source folder keeps the user marker: " & origen

' The picker's statement, paged with AbsolutePosition, over the first sample file's
' documents (other sample files add their own).
Set rs = d.GetData(app, "Select Top 500 * From ( Select * From Documentos Where DocumentoId <= 3 ) A  Order By DocumentoId Desc", Null, True, 0, 1, 0)
Check Not rs Is Nothing, "picker statement: " & d.ErrDescription
Check rs.RecordCount = 3, "three sample documents"
rs.AbsolutePosition = 2
Check rs("DocumentoId") = 2, "second page row"
Check VarType(rs("Fecha").Value) = vbDate, "dates come back as dates"
Check IsNull(rs("Campo04").Value), "Null stays Null"

' An empty recordset refuses MoveFirst with ADO's error.
Set rs = d.GetData(app, "Select * From Documentos Where DocumentoId = -1", Null, True, 0, 1, 0)
On Error Resume Next
rs.MoveFirst
Check Err.Number = 3021, "MoveFirst on an empty recordset raises 3021, got " & Err.Number
Err.Clear
On Error GoTo 0

' A new document: next id, add, update, validate, read log, action log, then clean up.
Set rs = d.GetData(app, "Select (Coalesce(Max(DocumentoId),0)+1) As DocumentoId From Documentos", Null, True, 0, 1, 0)
n = rs("DocumentoId").Value
Dim p(23)
p(0) = CDbl(n) : p(1) = "1" : p(2) = "2" : p(3) = "OP" : p(4) = 2 : p(5) = "scan.TIF"
p(6) = "C:\Ostrela\Documentos\00001\00002\x.TIF"
For i = 7 To 16 : p(i) = "c" & (i - 6) : Next
p(17) = Now : p(18) = "7791" : p(19) = "REF'1" : p(20) = "script - Fecha : [ " & Now & "]" & vbCrLf
p(21) = True : p(22) = "script" : p(23) = Year(Date) & "-" & Right("0" & Month(Date), 2) & "-" & Right("0" & Day(Date), 2)
Check d.Execute(app, "Documentos_Add", p, 0, 4, 0), "Documentos_Add: " & d.ErrDescription
Check Not d.Execute(app, "Documentos_Add", p, 0, 4, 0), "a second add of the same id fails"
Check d.ErrDescription <> "", "and says why"
p(1) = "3"
Check d.Execute(app, "Documentos_Update", p, 0, 4, 0), "Documentos_Update: " & d.ErrDescription
Check d.Execute(app, "Update Documentos Set IsEnabled = 1 Where DocumentoId = " & n, Null, 0, 1, 0), "validate: " & d.ErrDescription
Set rs = d.GetData(app, "Select * From Documentos Where ReferenciaId = 'REF''1'", Null, True, 0, 1, 0)
Check rs.RecordCount = 1, "the new document by its quoted reference"
Check rs("CategoriaId") = "3", "updated category"
Check rs("IsEnabled") = True, "validated"

Dim log(8)
log(0) = CDbl(n) : log(1) = "script" : log(2) = 1 : log(3) = Now : log(4) = "OP" : log(5) = "R01VIE"
log(6) = "No Leidos" : log(7) = "PC" : log(8) = log(3)
Check d.Execute(app, "DocumentosLog_Add", log, 0, 4, 0), "DocumentosLog_Add: " & d.ErrDescription
Set rs = d.GetData(app, "Select (Coalesce(Max(EventoId),0)+1) As EventoId From LogAcciones", Null, True, 0, 1, 0)
Dim evento : evento = rs("EventoId").Value
Dim act
act = Array(CDbl(evento), 1, "I01CAT", "Catalogacion", 2, "ALTA-CREACION", CStr(n), "Se ha Catalogado", "", "PC", "script", Now)
Check d.Execute(app, "LogAcciones_Add", act, 0, 4, 0), "LogAcciones_Add: " & d.ErrDescription
Check Not d.Execute(app, "LogAcciones_Add", Array(1, 2), 0, 4, 0), "a wrong parameter count fails"

Check d.Execute(app, "Delete DocumentosLog Where DocumentoId = " & n, Null, 0, 1, 0), "clean read log"
Check d.Execute(app, "Delete LogAcciones Where EventoId = " & evento, Null, 0, 1, 0), "clean action log"
Check d.Execute(app, "Delete Documentos Where DocumentoId = " & n, Null, 0, 1, 0), "clean document"

' Failures give Nothing and a reason; they never raise.
Set rs = d.GetData(app, "Select * Fromm Documentos", Null, True, 0, 1, 0)
Check rs Is Nothing, "malformed SQL gives Nothing"
Check InStr(d.ErrDescription, "syntax") > 0, "with the database's message: " & d.ErrDescription
Set rs = d.GetData("NoSuchKey", "Select 1", Null, True, 0, 1, 0)
Check rs Is Nothing, "a key without a database gives Nothing"

Set rs = Nothing
Set d = Nothing
fso.DeleteFile "data\OstrelaScript.db", True
fso.DeleteFile "data\VkSScript.db", True
Check Not fso.FileExists("data\OstrelaScript.db"), "the copies are removed"
Finish
