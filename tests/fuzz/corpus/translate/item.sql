SELECT I.SerialNr, I.Brand, I.Model, I.Description, I.Owner, O.CompanyName, S.ServiceType 
FROM Item.DB I
LEFT OUTER JOIN Customer O ON (I.Owner = O.CustomerID)
LEFT OUTER JOIN ServiceContract S ON (I.SerialNr = S.ItemSerialNr)