Select * 
From Item
Where SerialNr = :EquipmentSerialNr