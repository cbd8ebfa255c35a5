SELECT S.ItemSerialNr, S.CustomerID, S.ServiceType, S.StillValid, S.Comments, C.CompanyName, I.Brand, I.Model
FROM ServiceContract.DB S
LEFT OUTER JOIN Customer C ON (S.CustomerID = C.CustomerID)
LEFT OUTER JOIN Item I ON (S.ItemSerialNr = I.SerialNr)