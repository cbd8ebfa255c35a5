Select * 
From Representative.DB
Where :ID = FK_Customer