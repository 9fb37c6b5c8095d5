#include "support/CodePageTexts.h"

namespace {

const std::vector<TTextRecord> Simplified = {
    {"张伟", "北京市朝阳区建国路88号", "销售部经理"},     {"王芳", "上海市浦东新区世纪大道", "财务部会计"},
    {"李娜", "广州市天河区体育西路", "人事部主管"},       {"刘洋", "深圳市南山区科技园", "技术部工程师"},
    {"陈静", "杭州市西湖区文三路", "客户服务中心"},       {"杨磊", "成都市武侯区人民南路", "采购部"},
    {"赵敏", "武汉市江汉区解放大道", "仓库管理员"},       {"黄强", "南京市鼓楼区中山路", "总经理办公室"},
    {"周杰", "天津市和平区南京路", "市场部专员"},         {"吴丽", "重庆市渝中区解放碑", "行政部"},
};

const std::vector<TTextRecord> Traditional = {
    {"陳志明", "臺北市信義區松仁路", "會計部主任"},       {"林美玲", "高雄市前鎮區中山二路", "業務經理"},
    {"黃建國", "臺中市西屯區臺灣大道", "資訊部工程師"},   {"張淑芬", "新北市板橋區文化路", "客戶服務"},
    {"李俊傑", "臺南市東區長榮路", "採購專員"},           {"王雅婷", "桃園市中壢區中正路", "人力資源部"},
    {"吳宗翰", "新竹市東區光復路", "研發中心"},           {"劉怡君", "基隆市仁愛區愛一路", "總務課"},
    {"蔡明哲", "嘉義市西區民族路", "倉庫管理"},           {"楊佳穎", "花蓮縣花蓮市中華路", "行銷企劃"},
};

const std::vector<TTextRecord> Russian = {
    {"Иванов Иван Петрович", "Москва, ул. Ленина, д. 5", "бухгалтер"},
    {"Петрова Анна Сергеевна", "Санкт-Петербург, Невский пр.", "менеджер по продажам"},
    {"Сидоров Алексей", "Новосибирск, ул. Гагарина", "инженер"},
    {"Смирнова Ольга", "Екатеринбург, ул. Мира", "отдел кадров"},
    {"Кузнецов Дмитрий", "Казань, ул. Баумана", "главный бухгалтер"},
    {"Попова Елена", "Нижний Новгород", "секретарь"},
    {"Васильев Николай", "Самара, ул. Победы", "водитель"},
    {"Морозова Татьяна", "Ростов-на-Дону", "кладовщик"},
    {"Новиков Сергей", "Воронеж, пр. Революции", "директор"},
    {"Фёдорова Мария", "Волгоград, ул. Советская", "кассир"},
};

const std::vector<TTextRecord> Central = {
    {"Novák Jiří", "Praha 4, Na Pankráci 12", "účetní"},
    {"Dvořáková Věra", "Brno, Masarykova 8", "vedoucí skladu"},
    {"Kowalski Paweł", "Kraków, ul. Świętokrzyska 5", "księgowy"},
    {"Wiśniewska Małgorzata", "Łódź, ul. Piotrkowska", "kierownik sprzedaży"},
    {"Nagy István", "Győr, Szent István út", "könyvelő"},
    {"Kovács Erzsébet", "Debrecen, Piac utca", "pénztáros"},
    {"Horváth Ľubomír", "Bratislava, Obchodná", "vodič"},
    {"Procházka Tomáš", "Ostrava, Nádražní 20", "obchodní zástupce"},
    {"Zieliński Łukasz", "Gdańsk, ul. Długa", "magazynier"},
    {"Černá Petra", "Plzeň, Klatovská třída", "sekretářka"},
};

const std::vector<TTextRecord> Western = {
    {"Müller Jürgen", "München, Hauptstraße 5", "Geschäftsführer"},
    {"Dupont François", "Paris, rue de la Paix", "comptable"},
    {"García Martínez José", "Madrid, calle Mayor", "jefe de ventas"},
    {"Schröder Günter", "Köln, Domstraße 12", "Lagerverwalter"},
    {"Lefèvre Hélène", "Lyon, place Bellecour", "secrétaire générale"},
    {"Núñez Begoña", "Sevilla, avenida de la Constitución", "contabilidad"},
    {"Weiß Björn", "Düsseldorf, Königsallee", "Einkäufer"},
    {"Gonçalves João", "Lisboa, praça do Comércio", "gerente"},
    {"Åberg Sören", "Göteborg, Drottninggatan", "säljare"},
    {"Garnier Bérénice", "Marseille, boulevard Périer", "réceptionniste"},
};

const std::vector<TTextRecord> Greek = {
    {"Παπαδόπουλος Γιώργος", "Αθήνα, οδός Πανεπιστημίου", "λογιστής"},
    {"Νικολάου Μαρία", "Θεσσαλονίκη, Εγνατία", "διευθύντρια πωλήσεων"},
    {"Γεωργίου Δημήτρης", "Πάτρα, Μαιζώνος 15", "αποθηκάριος"},
    {"Οικονόμου Ελένη", "Ηράκλειο Κρήτης", "γραμματέας"},
    {"Καραγιάννης Νίκος", "Λάρισα, Κύπρου 8", "οδηγός"},
    {"Βασιλείου Αικατερίνη", "Βόλος, Ιάσονος", "ταμίας"},
    {"Αλεξίου Κώστας", "Ιωάννινα", "μηχανικός"},
    {"Μακρή Σοφία", "Καλαμάτα, Αριστομένους", "πωλήτρια"},
    {"Πετρίδης Ανδρέας", "Χανιά, Χάληδων", "υπεύθυνος αγορών"},
    {"Σταυρίδου Άννα", "Ρόδος", "υπάλληλος"},
};

} // namespace

const std::vector<TCodePageTexts>& CodePageTexts()
{
    static const std::vector<TCodePageTexts> texts = {
        {936, Simplified}, {950, Traditional}, {866, Russian}, {1251, Russian}, {1250, Central},
        {1252, Western},   {850, Western},     {437, Western}, {1253, Greek},
    };
    return texts;
}
