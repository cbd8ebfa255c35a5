Select C.CallNr, C.WorkerNr, C.CustomerID, Z.CompanyName, C.EquipmentSerialNr,   (I.Brand || " " || I.Model || " " || I.Description) AS Item,	(W.Name || " " || W.Surname) AS Worker,	C.JobcardNumber, C.OrderNumber, C.Date_Time, C.Status, C.Priority, C.Billed
FROM Call C
LEFT OUTER JOIN Customer Z ON (C.CustomerID = Z.CustomerID)
LEFT OUTER JOIN Item I ON (C.EquipmentSerialNr = I.SerialNr)
LEFT OUTER JOIN Worker W ON (C.WorkerNr = W.WorkerNR)
