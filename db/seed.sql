-- Starter content of a new database: pick lists and a postal directory of large towns.

INSERT INTO aw_anrede (anrede) VALUES ('Herr'), ('Frau'), ('Familie'), ('Firma');

INSERT INTO aw_titel (titel) VALUES ('Dr.'), ('Prof.'), ('Prof. Dr.'), ('Dipl.-Ing.');

INSERT INTO aw_land (land, land_name) VALUES
    ('D', 'Deutschland'),
    ('A', 'Österreich'),
    ('CH', 'Schweiz'),
    ('L', 'Luxemburg'),
    ('NL', 'Niederlande'),
    ('B', 'Belgien'),
    ('F', 'Frankreich'),
    ('DK', 'Dänemark'),
    ('I', 'Italien');

INSERT INTO aw_zeitmessung (zeitmessung) VALUES
    ('ChampionChip'), ('Transponder am Schuh'), ('Startnummer mit Chip'), ('Handzeitnahme');

-- Town centres; postcode and dialling code of the main post office area.
INSERT INTO aw_plzort (port, plz, pvw) VALUES
    ('Berlin', '10115', '030'),
    ('Hamburg', '20095', '040'),
    ('München', '80331', '089'),
    ('Köln', '50667', '0221'),
    ('Frankfurt am Main', '60311', '069'),
    ('Stuttgart', '70173', '0711'),
    ('Düsseldorf', '40213', '0211'),
    ('Dortmund', '44135', '0231'),
    ('Essen', '45127', '0201'),
    ('Leipzig', '04109', '0341'),
    ('Bremen', '28195', '0421'),
    ('Dresden', '01067', '0351'),
    ('Hannover', '30159', '0511'),
    ('Nürnberg', '90402', '0911'),
    ('Kiel', '24103', '0431'),
    ('Schwerin', '19053', '0385'),
    ('Potsdam', '14467', '0331'),
    ('Magdeburg', '39104', '0391'),
    ('Erfurt', '99084', '0361'),
    ('Mainz', '55116', '06131'),
    ('Wiesbaden', '65183', '0611'),
    ('Saarbrücken', '66111', '0681'),
    ('Bonn', '53111', '0228'),
    ('Münster', '48143', '0251'),
    ('Karlsruhe', '76133', '0721'),
    ('Mannheim', '68159', '0621'),
    ('Augsburg', '86150', '0821'),
    ('Freiburg im Breisgau', '79098', '0761'),
    ('Regensburg', '93047', '0941'),
    ('Rostock', '18055', '0381');
