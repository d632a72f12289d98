-- Server functions that up_Sel2_ and up_Upd2_ call to read values given as
-- text. Run once per database before the procedure scripts. Text that does
-- not convert gives the value an empty field has (0, 1900-01-01), never an
-- error, so a bad value cannot fail a whole update.
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'FN' and [name] = 'dpxfunc_integer')
  DROP FUNCTION [dbo].[dpxfunc_integer]
GO
CREATE FUNCTION [dbo].[dpxfunc_integer] (@s varchar(255)) RETURNS integer
AS
BEGIN
  DECLARE @t varchar(255) = LTRIM(RTRIM(@s))
  DECLARE @digits varchar(255) = @t
  IF LEFT(@t, 1) = '+' OR LEFT(@t, 1) = '-'
    SET @digits = SUBSTRING(@t, 2, 255)
  IF @digits IS NULL OR @digits NOT LIKE '%[0-9]%' OR @digits LIKE '%[^0-9]%'
    RETURN 0
  -- A float holds any 255 digits, so the range is checked before the cast.
  DECLARE @value float = CAST(@digits AS float)
  IF LEFT(@t, 1) = '-'
    SET @value = -@value
  IF @value < -2147483648 OR @value > 2147483647
    RETURN 0
  RETURN CAST(@value AS integer)
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'FN' and [name] = 'dpxfunc_datetime')
  DROP FUNCTION [dbo].[dpxfunc_datetime]
GO
CREATE FUNCTION [dbo].[dpxfunc_datetime] (@s varchar(255)) RETURNS datetime
AS
BEGIN
  DECLARE @t varchar(255) = LTRIM(RTRIM(@s))
  DECLARE @ymd varchar(8) = ''
  IF @t LIKE '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]'
    SET @ymd = LEFT(@t, 4) + SUBSTRING(@t, 6, 2) + RIGHT(@t, 2)
  ELSE IF @t LIKE '[0-9][0-9].[0-9][0-9].[0-9][0-9][0-9][0-9]'
    SET @ymd = RIGHT(@t, 4) + SUBSTRING(@t, 4, 2) + LEFT(@t, 2)
  -- Eight digits read the same under every date format and language, so
  -- ISDATE rejects a 30th of February here instead of CONVERT failing.
  IF @ymd = '' OR ISDATE(@ymd) = 0
    RETURN CONVERT(datetime, '1900-01-01', 120)
  RETURN CONVERT(datetime, @ymd, 112)
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'FN' and [name] = 'dpxfunc_float')
  DROP FUNCTION [dbo].[dpxfunc_float]
GO
CREATE FUNCTION [dbo].[dpxfunc_float] (@s varchar(255)) RETURNS float
AS
BEGIN
  DECLARE @t varchar(255) = REPLACE(LTRIM(RTRIM(@s)), ',', '.')
  DECLARE @digits varchar(255) = @t
  IF LEFT(@t, 1) = '+' OR LEFT(@t, 1) = '-'
    SET @digits = SUBSTRING(@t, 2, 255)
  -- Digits with at most one decimal point.
  IF @digits IS NULL OR @digits NOT LIKE '%[0-9]%' OR @digits LIKE '%[^0-9.]%' OR @digits LIKE '%.%.%'
    RETURN 0
  DECLARE @value float = CAST(@digits AS float)
  IF LEFT(@t, 1) = '-'
    SET @value = -@value
  RETURN @value
END
GO
