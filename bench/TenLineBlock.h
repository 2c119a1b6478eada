#pragma once

#include <QString>

// A typical signature block: the unit the recognition figures are measured on.
inline const QString TenLineBlock = QStringLiteral("Bergmann Maschinenbau GmbH\r\n"
                                                   "Herr Dr. Max Beispiel\r\n"
                                                   "Vertrieb Süd\r\n"
                                                   "Industriestraße 14\r\n"
                                                   "D-70565 Stuttgart\r\n"
                                                   "Tel.: +49 711 123456-0\r\n"
                                                   "Fax: +49 711 123456-99\r\n"
                                                   "Mobil: +49 171 5566778\r\n"
                                                   "E-Mail: m.beispiel@bergmann-maschinenbau.de\r\n"
                                                   "www.bergmann-maschinenbau.de\r\n");
